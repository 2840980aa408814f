// What the control tells its parent: each code with the fields it fills, and the notice of
// its end before it detaches.
#include <gtest/gtest.h>

#include "ddlb/state.h"
#include "support/list_dialog.h"

namespace {

const std::vector<std::string> kFive = {"alpha", "bravo", "charlie", "delta", "echo"};

// f holds the fields the code fills; all the others must stay 0.
void ExpectRecord(const ListDialog& d, UINT code, const DdlbFields& f) {
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
    ExpectRecord(d, DDLBN_KEYDOWN, DdlbFields{0, 'G', data, 0, 0});
    SendMessageA(d.list(), WM_SYSKEYDOWN, VK_F3, data | (1 << 29));
    ExpectRecord(d, DDLBN_SYSKEYDOWN, DdlbFields{0, VK_F3, data | (1 << 29), 0, 0});
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_KEYDOWN, DDLBN_SYSKEYDOWN}));
}

TEST(Notifications, DragRecordsFillOnlyTheirFields) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(3));
    ExpectRecord(d, DDLBN_BEGINDRAG, DdlbFields{3, 0, 0, 0, 0});

    POINT over = d.RowPoint(1);
    d.MoveCursor(over);
    size_t before = d.heard.size();
    LPARAM at = MAKELPARAM(over.x, over.y);
    SendMessageA(d.list(), WM_MOUSEMOVE, MK_LBUTTON, at);
    ASSERT_EQ(d.heard.size(), before + 1);
    ExpectRecord(d, DDLBN_DRAGCURSOR, DdlbFields{0, MK_LBUTTON, at, 0, 1});

    d.Release(d.RowPoint(1));
    ExpectRecord(d, DDLBN_DROP, DdlbFields{0, 0, 0, 3, 1});
    ExpectRecord(d, DDLBN_ENDDRAG, DdlbFields{});
}

TEST(Notifications, DroppedFilesAreHandedOverUntouched) {
    ListDialog d(kFive);
    HDROP drop = MakeDrop({"C:\\a.txt"});
    LRESULT answer = SendMessageA(d.list(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 7);
    EXPECT_EQ(answer, 0);
    ExpectRecord(d, DDLBN_DROPFILES, DdlbFields{0, reinterpret_cast<WPARAM>(drop), 7, 0, 0});
    // Still the parent's to release: the control has not freed it.
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 1u);
    DragFinish(drop);
}

TEST(Notifications, RightClickAndMenuKeyAskForTheContextMenu) {
    ListDialog d(kFive);
    d.RightClick(d.RowPoint(2));
    ExpectRecord(d, DDLBN_RCLICK, DdlbFields{2, 0, 0, 0, 0});
    ExpectRecord(d, DDLBN_CONTEXTMENU, DdlbFields{});
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_RCLICK, DDLBN_CONTEXTMENU}));

    d.heard.clear();
    d.Key(VK_APPS);
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_KEYDOWN, DDLBN_CONTEXTMENU}));
}

// Detaching happens after the parent has been told, and leaves nothing behind: by the time
// WM_DESTROY reaches the procedure under the control, the properties are gone and that
// procedure is the window's again.
namespace {
WNDPROC g_listBoxProc;
bool g_detachedAtDestroy;

LRESULT CALLBACK UnderControl(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        g_detachedAtDestroy =
            GetPropA(list, DDLBPROP_DRAGINFO) == nullptr &&
            GetPropA(list, DDLBPROP_ORIGINALPROC) == nullptr &&
            GetWindowLongPtrA(list, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(UnderControl);
    return CallWindowProcA(g_listBoxProc, list, message, wParam, lParam);
}
} // namespace

TEST(Notifications, DestroyIsSentWhileAttachedThenTheControlDetaches) {
    g_detachedAtDestroy = false;
    bool attachedAtNotice = false;
    {
        ListDialog d(kFive, 8, false);
        g_listBoxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UnderControl)));
        ASSERT_TRUE(AttachDragDropListBox(d.list()));
        d.onRecord = [&](const DDLBNOTIFY& r) {
            if (r.code == DDLBN_DESTROY)
                attachedAtNotice = GetPropA(r.hwndFrom, DDLBPROP_DRAGINFO) != nullptr &&
                                   GetPropA(r.hwndFrom, DDLBPROP_ORIGINALPROC) ==
                                       reinterpret_cast<HANDLE>(UnderControl);
        };
        DestroyWindow(d.list());
        ExpectRecord(d, DDLBN_DESTROY, DdlbFields{});
        EXPECT_EQ(d.CountOf(DDLBN_DESTROY), 1);
    }
    EXPECT_TRUE(attachedAtNotice);
    EXPECT_TRUE(g_detachedAtDestroy);
}

TEST(Notifications, AnAttachedListStartsIdle) {
    ListDialog d(kFive);
    auto* info = static_cast<DDLBDRAGINFO*>(GetPropA(d.list(), DDLBPROP_DRAGINFO));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->sourceIndex, -1);
    EXPECT_EQ(info->dragging, 0);
}
