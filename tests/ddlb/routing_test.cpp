// The routing rule from the control's side: only a record that comes back to it runs a
// default action, chosen by the record's code alone, and each attached list box keeps to
// its own records.
#include <gtest/gtest.h>

#include "support/list_dialog.h"
#include "text/buffer.h"

namespace {

const std::vector<std::string> kFive = {"alpha", "bravo", "charlie", "delta", "echo"};

} // namespace

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

namespace {

// A procedure subclassed over the control that counts the LB_ADDSTRING messages reaching it.
int addsSeen = 0;
LRESULT CALLBACK CountingAdds(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING)
        ++addsSeen;
    auto below = reinterpret_cast<WNDPROC>(GetPropA(list, "test.below"));
    return CallWindowProcA(below, list, message, wParam, lParam);
}

} // namespace

// Plain list messages in bulk act on the list box as if sent, step over the control alone,
// and leave what the control handles to the control.
TEST(Routing, ListMessagesInBulkStepOverTheControlAlone) {
    ListDialog d(kFive);
    ListBoxCalls calls = ListBoxCallsOf(d.list());
    ASSERT_NE(calls.procedure, nullptr);
    EXPECT_EQ(CallListBox(calls, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta")), 1);
    EXPECT_EQ(CallListBox(calls, LB_GETCOUNT, 0, 0), 6);
    PathBuffer text;
    EXPECT_EQ(GetListEntryText(calls, 1, text, kPathBufferSize), 4);
    EXPECT_STREQ(text, "beta");
    CallListBox(calls, WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(d.CountOf(DDLBN_KEYDOWN), 1);
    // The control is still whole: its default actions run.
    SendMessageA(d.list(), LB_SETCURSEL, 1, 0);
    d.SysKey(VK_UP);
    EXPECT_EQ(d.Entries()[0], "beta");

    // Subclassed again, or never attached: every message takes the usual way.
    SetPropA(d.list(), "test.below",
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(d.list(), GWLP_WNDPROC)));
    SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingAdds));
    calls = ListBoxCallsOf(d.list());
    addsSeen = 0;
    CallListBox(calls, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("golf"));
    EXPECT_EQ(addsSeen, 1);
    SetWindowLongPtrA(d.list(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(GetPropA(d.list(), "test.below")));
    RemovePropA(d.list(), "test.below");
    ListDialog plain(kFive, 8, false);
    calls = ListBoxCallsOf(plain.list());
    EXPECT_EQ(calls.procedure, nullptr);
    EXPECT_EQ(CallListBox(calls, LB_GETCOUNT, 0, 0), 5);
}
