// What the user finds when the window opens: icons, the system menu, the fields' first
// state, and the stored settings applied.
#include <iterator>
#include <string>

#include "app/dialog.h"
#include "app/geometry.h"
#include "app/window_state.h"
#include "harness.h"
#include "res/resource.h"

namespace {

// 常に最前面に表示(&T)
const std::string kTopmostItem =
    "\x8f\xed\x82\xc9\x8d\xc5\x91\x4f\x96\xca\x82\xc9\x95\x5c\x8e\xa6(&T)";

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info))
        return size;
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    size.cx = bitmap.bmWidth;
    // A monochrome-only icon keeps both masks in one bitmap of double height.
    size.cy = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    return size;
}

void WriteSettings(std::initializer_list<SettingLine> lines) {
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), SettingsText(lines)));
}

class StartTest : public DialogTest {};

TEST_F(StartTest, SetsTheProgramsLargeAndSmallIcons) {
    Open();
    HICON large = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0));
    HICON small = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(IconSize(large).cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconSize(small).cx, GetSystemMetrics(SM_CXSMICON));
}

TEST_F(StartTest, PutsTheTopmostItemRightAfterMaximizeOnce) {
    Open();
    HMENU menu = GetSystemMenu(dialog_, FALSE);
    int count = GetMenuItemCount(menu);
    int maximize = -1, topmost = -1, topmostItems = 0;
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == SC_MAXIMIZE)
            maximize = i;
        if (id == IDM_TOPMOST) {
            topmost = i;
            ++topmostItems;
        }
    }
    ASSERT_GE(maximize, 0);
    EXPECT_EQ(topmost, maximize + 1);
    EXPECT_EQ(topmostItems, 1);
    char text[128] = "";
    GetMenuStringA(menu, IDM_TOPMOST, text, std::size(text), MF_BYCOMMAND);
    EXPECT_EQ(text, kTopmostItem);
}

TEST_F(StartTest, OkWaitsForANameAndTextFormatIsChosen) {
    Open();
    EXPECT_EQ(GetWindowTextLengthA(Item(IDC_SAVENAME)), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDOK)));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_FORMAT_TEXT), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_FORMAT_HTML), BST_UNCHECKED);

    // Typed as the user types: characters into the focused field.
    SetFocus(Item(IDC_SAVENAME));
    SendMessageA(Item(IDC_SAVENAME), WM_CHAR, 'a', 0);
    EXPECT_TRUE(IsWindowEnabled(Item(IDOK)));
    SendMessageA(Item(IDC_SAVENAME), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(GetWindowTextLengthA(Item(IDC_SAVENAME)), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDOK)));
}

TEST_F(StartTest, WithoutSettingsOpensAtTemplateSizeCenteredOnTheCursor) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    POINT center{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    ASSERT_TRUE(SetCursorPos(center.x, center.y));
    Open();
    SIZE templateSize = TemplateWindowSize();
    RECT window = WindowRect(dialog_);
    EXPECT_EQ(RectWidth(window), templateSize.cx);
    EXPECT_EQ(RectHeight(window), templateSize.cy);
    EXPECT_EQ(window.left, center.x - templateSize.cx / 2);
    EXPECT_EQ(window.top, center.y - templateSize.cy / 2);
    EXPECT_FALSE(IsTopmost(dialog_));
    EXPECT_FALSE(IsZoomed(dialog_));
}

TEST_F(StartTest, StoredSizeTopmostAndMaximizedStateAreApplied) {
    WriteSettings({{kKeyTopmost, 2}, {kKeyMaximized, 1}, {kKeyHeight, 400}, {kKeyWidth, 500}});
    Open();
    EXPECT_TRUE(IsTopmost(dialog_));
    EXPECT_TRUE(IsZoomed(dialog_));
    RECT restored;
    ASSERT_TRUE(GetRestoredRect(dialog_, &restored));
    EXPECT_EQ(RectWidth(restored), 500);
    EXPECT_EQ(RectHeight(restored), 400);

    ShowWindow(dialog_, SW_RESTORE);
    RECT window = WindowRect(dialog_);
    EXPECT_EQ(RectWidth(window), 500);
    EXPECT_EQ(RectHeight(window), 400);
}

TEST_F(StartTest, FilesItIsStartedWithAreListedAndTheStoredSettingsStillApply) {
    WriteSettings({{kKeyTopmost, 1}, {kKeyHeight, 400}, {kKeyWidth, 500}});
    std::string b = scratch_.Write("b.txt", "b"), a = scratch_.Write("a.txt", "a");
    std::wstring names[] = {Wide(b), Wide(scratch_.path()), Wide(a), Wide(b)};
    const wchar_t* argv[] = {names[0].c_str(), names[1].c_str(), names[2].c_str(),
                             names[3].c_str()};
    StartFiles files{argv, 4};
    Open(&files);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{Canonical(a), Canonical(b)}));
    EXPECT_TRUE(IsTopmost(dialog_));
    RECT window = WindowRect(dialog_);
    EXPECT_EQ(RectWidth(window), 500);
    EXPECT_EQ(RectHeight(window), 400);
}

TEST_F(StartTest, AStoredMaximizedStateSurvivesTheModalLoopShowingTheWindow) {
    WriteSettings({{kKeyMaximized, 1}, {kKeyHeight, 400}, {kKeyWidth, 500}});
    bool zoomed = false, visible = false;
    RECT restored{};
    RunModalDialog([&](HWND dialog) {
        zoomed = IsZoomed(dialog) != 0;
        visible = IsWindowVisible(dialog) != 0;
        GetRestoredRect(dialog, &restored);
        EndDialog(dialog, IDCANCEL);
    });
    EXPECT_TRUE(visible);
    EXPECT_TRUE(zoomed);
    EXPECT_EQ(RectWidth(restored), 500);
    EXPECT_EQ(RectHeight(restored), 400);
}

TEST_F(StartTest, StoredSizesOutsideTheUsableRangeAreHeldByTheWindowLimits) {
    // Negative and zero sizes reach the window unchanged and stop at the template size; a
    // size past every screen stops at the largest window the system allows.
    WriteSettings({{kKeyHeight, 0}, {kKeyWidth, -5}});
    Open();
    SIZE templateSize = TemplateWindowSize();
    RECT window = WindowRect(dialog_);
    EXPECT_EQ(RectWidth(window), templateSize.cx);
    EXPECT_EQ(RectHeight(window), templateSize.cy);
    Close();

    WriteSettings({{kKeyHeight, "99999999999"}, {kKeyWidth, 70000}});
    Open();
    window = WindowRect(dialog_);
    EXPECT_LE(RectWidth(window), GetSystemMetrics(SM_CXMAXTRACK));
    EXPECT_LE(RectHeight(window), GetSystemMetrics(SM_CYMAXTRACK));
    EXPECT_GT(RectWidth(window), templateSize.cx);
}

} // namespace
