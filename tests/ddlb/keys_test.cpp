// Delete, Backspace and Alt+arrows through a parent that sends every record back.
#include <gtest/gtest.h>

#include "support/list_dialog.h"

namespace {

const std::vector<std::string> kThree = {"a", "b", "c"};

struct KeyCase {
    WPARAM key;
    DeleteCase deletion;
};

} // namespace

TEST(Keys, DeleteAndBackspaceSelectTheNeighbourTheUserExpects) {
    const KeyCase cases[] = {
        {VK_BACK, {kThree, 0, {"b", "c"}, 0}},   // the new first entry
        {VK_BACK, {kThree, 1, {"a", "c"}, 0}},   // the one before
        {VK_BACK, {kThree, 2, {"a", "b"}, 1}},   // the one before, the new last
        {VK_DELETE, {kThree, 0, {"b", "c"}, 0}}, // the one that moved into the gap
        {VK_DELETE, {kThree, 1, {"a", "c"}, 1}},
        {VK_DELETE, {kThree, 2, {"a", "b"}, 1}}, // the new last
    };
    ListDialog d;
    for (const KeyCase& c : cases) {
        EXPECT_EQ(DeletionMismatch(d, c.deletion, [&] { d.Key(c.key); }), "") << "key " << c.key;
        EXPECT_EQ(d.SelChanges(), 0);
    }
}

TEST(Keys, DeletingTheOnlyEntryOrNothingSelectedLeavesNoSelection) {
    ListDialog d;
    for (WPARAM key : {VK_BACK, VK_DELETE}) {
        d.Reset({"a"});
        SendMessageA(d.list(), LB_SETCURSEL, 0, 0);
        d.Key(key);
        EXPECT_EQ(d.Count(), 0);
        EXPECT_EQ(d.Selected(), LB_ERR);
        EXPECT_EQ(d.Codes(), std::vector<UINT>{DDLBN_KEYDOWN});

        d.Reset(kThree);
        d.Key(key);
        EXPECT_EQ(d.Entries(), kThree);
        EXPECT_EQ(d.Selected(), LB_ERR);
    }
}

TEST(Keys, AltArrowsMoveTheSelectedEntryOnePlace) {
    ListDialog d(kThree);
    SendMessageA(d.list(), LB_SETCURSEL, 0, 0);
    d.SysKey(VK_DOWN);
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(d.Selected(), 1);
    d.SysKey(VK_RIGHT);
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(d.Selected(), 2);
    d.SysKey(VK_UP);
    d.SysKey(VK_LEFT);
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(d.Selected(), 0);
    // Each move asked first, about the entry it moved, and ended no drag.
    EXPECT_EQ(d.Codes(), (std::vector<UINT>{DDLBN_SYSKEYDOWN, DDLBN_BEGINDRAG, DDLBN_SYSKEYDOWN,
                                            DDLBN_BEGINDRAG, DDLBN_SYSKEYDOWN, DDLBN_BEGINDRAG,
                                            DDLBN_SYSKEYDOWN, DDLBN_BEGINDRAG}));
    EXPECT_EQ(d.heard[1].record.index, 0);
    EXPECT_EQ(d.heard[3].record.index, 1);
    EXPECT_EQ(d.SelChanges(), 0);
}

TEST(Keys, AltArrowsPastEitherEndDoNothingAndAskNothing) {
    ListDialog d(kThree);
    SendMessageA(d.list(), LB_SETCURSEL, 0, 0);
    d.SysKey(VK_UP);
    d.SysKey(VK_LEFT);
    SendMessageA(d.list(), LB_SETCURSEL, 2, 0);
    d.SysKey(VK_DOWN);
    d.SysKey(VK_RIGHT);
    SendMessageA(d.list(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    d.SysKey(VK_DOWN);
    EXPECT_EQ(d.Entries(), kThree);
    EXPECT_EQ(d.CountOf(DDLBN_BEGINDRAG), 0);
    EXPECT_EQ(d.CountOf(DDLBN_SYSKEYDOWN), 5);
}

TEST(Keys, AParentThatRefusesTheDragRefusesTheMove) {
    ListDialog d(kThree);
    d.answers[DDLBN_BEGINDRAG] = 1;
    SendMessageA(d.list(), LB_SETCURSEL, 1, 0);
    d.SysKey(VK_DOWN);
    d.SysKey(VK_UP);
    EXPECT_EQ(d.Entries(), kThree);
    EXPECT_EQ(d.Selected(), 1);
    EXPECT_EQ(d.CountOf(DDLBN_BEGINDRAG), 2);
}

namespace {
WNDPROC g_listProc;
LRESULT CALLBACK RefuseInsertion(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_INSERTSTRING)
        return LB_ERRSPACE;
    return CallWindowProcA(g_listProc, list, message, wParam, lParam);
}
} // namespace

TEST(Keys, AMoveTheListBoxCannotInsertKeepsTheEntry) {
    ListDialog d(kThree);
    SendMessageA(d.list(), LB_SETCURSEL, 1, 0);
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefuseInsertion)));
    d.SysKey(VK_DOWN);
    SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
    EXPECT_EQ(d.Entries(), kThree);
    EXPECT_EQ(SendMessageA(d.list(), LB_GETCURSEL, 0, 0), 1); // still selected where it stayed
    EXPECT_EQ(d.CountOf(DDLBN_BEGINDRAG), 1);
}

TEST(Keys, KeysDuringADragReachOnlyTheListBox) {
    ListDialog d({"apple", "banana", "cherry", "damson"});
    d.Press(d.RowPoint(1));
    ASSERT_EQ(GetCapture(), d.list());
    d.heard.clear();
    d.Key(VK_DELETE);
    d.Key(VK_BACK);
    d.SysKey(VK_DOWN);
    d.Key(VK_APPS);
    EXPECT_TRUE(d.Codes().empty());
    EXPECT_EQ(d.Count(), 4);
    // Type-ahead would select "damson" under the dragged entry; outside a drag it does.
    SendMessageA(d.list(), WM_CHAR, 'd', 1);
    EXPECT_EQ(d.Selected(), 1);
    d.Release(d.RowPoint(1));
    SendMessageA(d.list(), WM_CHAR, 'd', 1);
    EXPECT_EQ(d.Selected(), 3);
}
