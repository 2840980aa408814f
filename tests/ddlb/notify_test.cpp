// What the control tells its parent, and what the parent's answer makes it do.
#include <gtest/gtest.h>

#include "ddlb/state.h"
#include "list_dialog.h"

namespace {

const std::vector<std::string> kFive = {"alpha", "bravo", "charlie", "delta", "echo"};

// The fields a code fills; all the others must stay 0.
struct Fields {
    int index = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    int from = 0;
    int to = 0;
};

void ExpectRecord(const ListDialog& d, UINT code, const Fields& f) {
    const DDLBNOTIFY* r = d.Last(code);
    ASSERT_NE(r, nullptr) << "no record of code " << code;
    EXPECT_EQ(r->hwndFrom, d.list());
    EXPECT_EQ(r->idFrom, static_cast<UINT_PTR>(kListId));
    EXPECT_EQ(r->index, f.index);
    EXPECT_EQ(r->wParam, f.wParam);
    EXPECT_EQ(r->lParam, f.lParam);
    EXPECT_EQ(r->from, f.from);
    EXPECT_EQ(r->to, f.to);
    for (const Heard& h : d.heard) {
        if (h.command == 0) {
            EXPECT_EQ(h.notifyWParam, static_cast<WPARAM>(kListId));
        }
    }
}

} // namespace

TEST(Notifications, KeysCarryTheKeyMessage) {
    ListDialog d(kFive);
    d.sendBack = false;
    LPARAM data = 0x00220001;
    SendMessageA(d.list(), WM_KEYDOWN, 'G', data);
    ExpectRecord(d, DDLBN_KEYDOWN, Fields{0, 'G', data, 0, 0});
    SendMessageA(d.list(), WM_SYSKEYDOWN, VK_F3, data | (1 << 29));
    ExpectRecord(d, DDLBN_SYSKEYDOWN, Fields{0, VK_F3, data | (1 << 29), 0, 0});
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_KEYDOWN, DDLBN_SYSKEYDOWN}));
}

TEST(Notifications, DragRecordsFillOnlyTheirFields) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(3));
    ExpectRecord(d, DDLBN_BEGINDRAG, Fields{3, 0, 0, 0, 0});

    POINT over = d.RowPoint(1);
    d.MoveCursor(over);
    size_t before = d.heard.size();
    LPARAM at = MAKELPARAM(over.x, over.y);
    SendMessageA(d.list(), WM_MOUSEMOVE, MK_LBUTTON, at);
    ASSERT_EQ(d.heard.size(), before + 1);
    ExpectRecord(d, DDLBN_DRAGCURSOR, Fields{0, MK_LBUTTON, at, 0, 1});

    d.Release(d.RowPoint(1));
    ExpectRecord(d, DDLBN_DROP, Fields{0, 0, 0, 3, 1});
    ExpectRecord(d, DDLBN_ENDDRAG, Fields{});
}

TEST(Notifications, DroppedFilesAreHandedOverUntouched) {
    ListDialog d(kFive);
    HDROP drop = MakeDrop({"C:\\a.txt"});
    LRESULT answer = SendMessageA(d.list(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 7);
    EXPECT_EQ(answer, 0);
    ExpectRecord(d, DDLBN_DROPFILES, Fields{0, reinterpret_cast<WPARAM>(drop), 7, 0, 0});
    // Still the parent's to release: the control has not freed it.
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 1u);
    DragFinish(drop);
}

TEST(Notifications, RightClickAndMenuKeyAskForTheContextMenu) {
    ListDialog d(kFive);
    d.RightClick(d.RowPoint(2));
    ExpectRecord(d, DDLBN_RCLICK, Fields{2, 0, 0, 0, 0});
    ExpectRecord(d, DDLBN_CONTEXTMENU, Fields{});
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_RCLICK, DDLBN_CONTEXTMENU}));

    d.heard.clear();
    d.Key(VK_APPS);
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_KEYDOWN, DDLBN_CONTEXTMENU}));
}

// Detaching happens after the parent has been told, and leaves nothing behind: by the time
// WM_DESTROY reaches the procedure under the control, the properties are gone and that
// procedure is the window's again.
namespace {
WNDPROC gListBoxProc;
bool gDetachedAtDestroy;

LRESULT CALLBACK UnderControl(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        gDetachedAtDestroy =
            GetPropA(list, DDLBPROP_DRAGINFO) == nullptr &&
            GetPropA(list, DDLBPROP_ORIGINALPROC) == nullptr &&
            GetWindowLongPtrA(list, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(UnderControl);
    return CallWindowProcA(gListBoxProc, list, message, wParam, lParam);
}
} // namespace

TEST(Notifications, DestroyIsSentWhileAttachedThenTheControlDetaches) {
    gDetachedAtDestroy = false;
    bool attachedAtNotice = false;
    {
        ListDialog d(kFive, 8, false);
        gListBoxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UnderControl)));
        ASSERT_TRUE(AttachDragDropListBox(d.list()));
        d.onRecord = [&](const DDLBNOTIFY& r) {
            if (r.code == DDLBN_DESTROY)
                attachedAtNotice = GetPropA(r.hwndFrom, DDLBPROP_DRAGINFO) != nullptr &&
                                   GetPropA(r.hwndFrom, DDLBPROP_ORIGINALPROC) ==
                                       reinterpret_cast<HANDLE>(UnderControl);
        };
        DestroyWindow(d.list());
        ExpectRecord(d, DDLBN_DESTROY, Fields{});
        EXPECT_EQ(d.CountOf(DDLBN_DESTROY), 1);
    }
    EXPECT_TRUE(attachedAtNotice);
    EXPECT_TRUE(gDetachedAtDestroy);
}

TEST(Notifications, AnAttachedListStartsIdle) {
    ListDialog d(kFive);
    auto* info = static_cast<DDLBDRAGINFO*>(GetPropA(d.list(), DDLBPROP_DRAGINFO));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->sourceIndex, -1);
    EXPECT_EQ(info->dragging, 0);
}

// --- Routing: only a record that comes back runs a default action.

TEST(Routing, AParentThatSendsNothingBackGetsNoDefaultAction) {
    ListDialog d(kFive);
    d.sendBack = false;
    SendMessageA(d.list(), LB_SETCURSEL, 2, 0);
    d.Key(VK_DELETE);
    d.Key(VK_BACK);
    d.SysKey(VK_DOWN);
    d.Key(VK_APPS);
    d.RightClick(d.RowPoint(1));
    d.Press(d.RowPoint(0));
    d.Release(d.RowPoint(3));
    EXPECT_EQ(d.Entries(), kFive);
    EXPECT_EQ(d.CountOf(DDLBN_CONTEXTMENU), 0);
    EXPECT_EQ(d.CountOf(DDLBN_DROP), 1);
    // Alt+Down asks nothing before its record comes back.
    EXPECT_EQ(d.CountOf(DDLBN_BEGINDRAG), 1);
}

TEST(Routing, AParentThatHandlesACodeReplacesItsDefault) {
    ListDialog d(kFive);
    d.answers[DDLBN_KEYDOWN] = 0;
    d.answers[DDLBN_RCLICK] = 0;
    SendMessageA(d.list(), LB_SETCURSEL, 2, 0);
    d.Key(VK_DELETE);
    d.RightClick(d.RowPoint(1));
    EXPECT_EQ(d.Entries(), kFive);
    EXPECT_EQ(d.CountOf(DDLBN_CONTEXTMENU), 0);
    // Codes it does not handle still come back and act.
    d.SysKey(VK_UP);
    EXPECT_EQ(d.Entries(),
              (std::vector<std::string>{"bravo", "alpha", "charlie", "delta", "echo"}));
}

TEST(Routing, ARecordFromAnySenderActsByItsCodeAlone) {
    ListDialog d(kFive);
    DDLBNOTIFY r{};
    r.code = DDLBN_DROP; // no hwndFrom, no idFrom
    r.from = 4;
    r.to = 0;
    EXPECT_EQ(SendMessageA(d.list(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(d.Entries(),
              (std::vector<std::string>{"echo", "alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(d.Selected(), 0);
    EXPECT_TRUE(d.heard.empty()); // a default action reports nothing
}

TEST(Routing, ADropRecordThatNamesNoEntryLeavesTheListIntact) {
    ListDialog d(kFive);
    for (int i = 0; i < 5; ++i)
        SendMessageA(d.list(), LB_SETITEMDATA, i, 100 + i);
    SendMessageA(d.list(), LB_SETCURSEL, 2, 0);
    const int bad[][2] = {{-1, 0}, {5, 0}, {99, 2}, {1, -1}, {1, 6}, {0, 1000}};
    for (const auto& fromTo : bad) {
        DDLBNOTIFY r{};
        r.code = DDLBN_DROP;
        r.from = fromTo[0];
        r.to = fromTo[1];
        SendMessageA(d.list(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(d.Entries(), kFive) << "from " << r.from << " to " << r.to;
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SendMessageA(d.list(), LB_GETITEMDATA, i, 0), 100 + i);
    EXPECT_EQ(d.Selected(), 2);
}

TEST(Routing, AMoveCarriesItemDataAndDoubleByteTextWhole) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    // "ソ" ends in 0x5C: a byte-blind copy would see a backslash.
    std::string longName;
    while (longName.size() < 500)
        longName += "\x83\x5c";
    longName += ".txt";
    ListDialog d({"a", "b", longName});
    ASSERT_EQ(d.Entries()[2], longName);
    SendMessageA(d.list(), LB_SETITEMDATA, 2, 0x5150);
    DDLBNOTIFY r{};
    r.code = DDLBN_DROP;
    r.from = 2;
    r.to = 0;
    SendMessageA(d.list(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{longName, "a", "b"}));
    EXPECT_EQ(SendMessageA(d.list(), LB_GETITEMDATA, 0, 0), 0x5150);
    EXPECT_EQ(SendMessageA(d.list(), LB_GETITEMDATA, 1, 0), 0);
    // Sorted insertion would have put it back at the end; the move keeps it where it went.
    SendMessageA(d.list(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c"));
    EXPECT_EQ(d.Entries()[0], longName);
}

TEST(Routing, ListBoxesAreAttachedIndependently) {
    ListDialog first(kFive);
    ListDialog second(kFive);
    first.Press(first.RowPoint(1));
    ASSERT_EQ(GetCapture(), first.list());
    // A key to the other list is reported: only the first is dragging.
    second.Key(VK_DELETE);
    EXPECT_EQ(second.CountOf(DDLBN_KEYDOWN), 1);
    first.Release(first.RowPoint(4));
    EXPECT_EQ(first.CountOf(DDLBN_ENDDRAG), 1);
    EXPECT_EQ(second.CountOf(DDLBN_ENDDRAG), 0);
}
