// How the dialog answers the list's notifications: the cursor during a drag, dropped files,
// the context menu, and every other notification sent back so the list acts on it.
#include <cstring>
#include <iterator>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "ddlb/ddlb.h"
#include "harness.h"
#include "support/drop.h"
#include "support/paths.h"
#include "join/join.h"
#include "res/resource.h"
#include "text/buffer.h"

namespace {

// 削除(&D)
const std::string kDeleteItem = "\x8d\xed\x8f\x9c(&D)";

class RoutingTest : public DialogTest {
  protected:
    LRESULT Notify(UINT code, int to = 0) {
        DDLBNOTIFY record{};
        record.hwndFrom = List();
        record.idFrom = IDC_FILELIST;
        record.code = code;
        record.to = to;
        return SendMessageA(dialog_, WM_NOTIFY, IDC_FILELIST, reinterpret_cast<LPARAM>(&record));
    }

    // Runs action; any popup menu it opens is read and then closed by choosing its item with
    // the item's mnemonic key, as the user would. Gives the menu's first item, or "" when no
    // menu opened.
    std::string ChooseFromMenu(const std::function<void()>& action) {
        std::string item;
        WindowWatcher watcher(IsPopupMenu, [&](HWND menuWindow) {
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
            char text[64] = "";
            GetMenuStringA(menu, 0, text, std::size(text), MF_BYPOSITION);
            item = text;
            PostMessageA(menuWindow, WM_CHAR, 'd', 0);
        });
        action();
        PumpMessages(dialog_); // the chosen command arrives posted
        return item;
    }
};

TEST_F(RoutingTest, DragCursorShowsWhereADropGoesAndWhereItIsRefused) {
    Open();
    HINSTANCE self = GetModuleHandleA(nullptr);
    HCURSOR drag = LoadCursorA(self, MAKEINTRESOURCEA(IDC_DRAGCURSOR));
    HCURSOR refused = LoadCursorA(self, MAKEINTRESOURCEA(IDC_NODROPCURSOR));
    ASSERT_NE(drag, nullptr);
    ASSERT_NE(refused, nullptr);
    ASSERT_NE(drag, refused);
    EXPECT_EQ(Notify(DDLBN_DRAGCURSOR, 0), reinterpret_cast<LRESULT>(drag));
    EXPECT_EQ(Notify(DDLBN_DRAGCURSOR, 3), reinterpret_cast<LRESULT>(drag));
    EXPECT_EQ(Notify(DDLBN_DRAGCURSOR, -1), reinterpret_cast<LRESULT>(refused));
}

TEST_F(RoutingTest, FilesDroppedOnTheListBecomeSortedEntries) {
    Open();
    std::string b = scratch_.Write("b.txt", "b"), a = scratch_.Write("a.txt", "a");
    std::string folder = scratch_ / "folder";
    ASSERT_TRUE(MakeFolder(folder));
    SendMessageA(List(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({b, folder, scratch_ / "gone.txt", a, b})), 0);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{Canonical(a), Canonical(b)}));
}

TEST_F(RoutingTest, ContextMenuOpensOnlyOverAListWithEntries) {
    Open();
    EXPECT_EQ(ChooseFromMenu([&] { Notify(DDLBN_CONTEXTMENU); }), "");

    AddFiles({"a.txt", "b.txt", "c.txt"});
    SendMessageA(List(), LB_SETCURSEL, 1, 0);
    EXPECT_EQ(ChooseFromMenu([&] { Notify(DDLBN_CONTEXTMENU); }), kDeleteItem);
    std::vector<std::string> entries = ListEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_NE(entries[1].find("c.txt"), std::string::npos);
    EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), 1);
}

TEST_F(RoutingTest, KeysOnTheListComeBackToItAsItsDefaultActions) {
    Open();
    // The menu key asks for the context menu, which an empty list does not get.
    EXPECT_EQ(ChooseFromMenu([&] { SendMessageA(List(), WM_KEYDOWN, VK_APPS, 0); }), "");

    std::vector<std::string> paths = AddFiles({"a.txt", "b.txt", "c.txt"});
    SendMessageA(List(), LB_SETCURSEL, 0, 0);
    // Alt+Down: the move asks the dialog first, whose answer must let it go ahead.
    SendMessageA(List(), WM_SYSKEYDOWN, VK_DOWN, MAKELPARAM(0, KF_ALTDOWN));
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{Canonical(paths[1]), Canonical(paths[0]),
                                                       Canonical(paths[2])}));
    EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), 1);

    SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{Canonical(paths[1]), Canonical(paths[2])}));

    EXPECT_EQ(ChooseFromMenu([&] { SendMessageA(List(), WM_KEYDOWN, VK_APPS, 0); }), kDeleteItem);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{Canonical(paths[1])}));
}

TEST_F(RoutingTest, ARightClickOnAnEntryOpensTheMenuForIt) {
    Open();
    AddFiles({"a.txt", "b.txt"});
    RECT item;
    SendMessageA(List(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT at{item.left + 5, (item.top + item.bottom) / 2};
    POINT screen = at;
    ClientToScreen(List(), &screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    LPARAM where = MAKELPARAM(at.x, at.y);
    std::string chosen = ChooseFromMenu([&] {
        SendMessageA(List(), WM_RBUTTONDOWN, MK_RBUTTON, where);
        SendMessageA(List(), WM_RBUTTONUP, 0, where);
    });
    EXPECT_EQ(chosen, kDeleteItem);
    std::vector<std::string> entries = ListEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("a.txt"), std::string::npos);
}

} // namespace
