// Resizing, the minimum size, placement in the work area, dragging by the client area and
// the always-on-top state, on the real dialog.
#include <map>

#include "app/window_state.h"
#include "harness.h"
#include "res/resource.h"

namespace {

// Every child of the dialog by its id (the label has none of its own: -1, as 0xFFFF).
std::map<int, RECT> ChildRects(HWND dialog) {
    std::map<int, RECT> rects;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        rects[GetDlgCtrlID(child)] = ControlRect(child);
    return rects;
}

RECT Moved(RECT r, int dx, int dy, int dw, int dh) {
    return RECT{r.left + dx, r.top + dy, r.right + dx + dw, r.bottom + dy + dh};
}

void ResizeBy(HWND window, int dw, int dh) {
    RECT rect = WindowRect(window);
    SetWindowPos(window, nullptr, 0, 0, RectWidth(rect) + dw, RectHeight(rect) + dh,
                 SWP_NOMOVE | SWP_NOZORDER);
}

class GeometryTest : public DialogTest {};

TEST_F(GeometryTest, GrowingMovesAndStretchesOnlyTheAnchoredControls) {
    Open();
    std::map<int, RECT> before = ChildRects(dialog_);
    ASSERT_EQ(before.size(), 9u);
    ResizeBy(dialog_, 40, 25);
    std::map<int, RECT> after = ChildRects(dialog_);
    const std::map<int, RECT> expected = {
        {IDC_SAVENAME, Moved(before[IDC_SAVENAME], 0, 0, 40, 0)},
        {IDC_BROWSE, Moved(before[IDC_BROWSE], 40, 0, 0, 0)},
        {IDC_FILELIST, Moved(before[IDC_FILELIST], 0, 0, 40, 25)},
        {IDOK, Moved(before[IDOK], 40, 25, 0, 0)},
        {IDCANCEL, Moved(before[IDCANCEL], 40, 25, 0, 0)},
    };
    for (const auto& [id, rect] : before) {
        auto anchored = expected.find(id);
        EXPECT_EQ(after[id], anchored != expected.end() ? anchored->second : rect) << "id " << id;
    }

    // Shrinking back undoes it exactly.
    ResizeBy(dialog_, -40, -25);
    for (const auto& [id, rect] : before)
        EXPECT_EQ(ChildRects(dialog_)[id], rect) << "id " << id;
}

TEST_F(GeometryTest, MinimizingMovesNothingAndMaximizingIsUndoneByRestoring) {
    Open();
    std::map<int, RECT> before = ChildRects(dialog_);
    ShowWindow(dialog_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog_));
    EXPECT_EQ(ChildRects(dialog_)[IDOK], before[IDOK]);
    ShowWindow(dialog_, SW_RESTORE);
    for (const auto& [id, rect] : before)
        EXPECT_EQ(ChildRects(dialog_)[id], rect) << "after restoring from minimized, id " << id;

    RECT client;
    GetClientRect(dialog_, &client);
    ShowWindow(dialog_, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(dialog_));
    RECT maximized;
    GetClientRect(dialog_, &maximized);
    int dx = maximized.right - client.right, dy = maximized.bottom - client.bottom;
    ASSERT_GT(dx, 0);
    EXPECT_EQ(ChildRects(dialog_)[IDCANCEL], Moved(before[IDCANCEL], dx, dy, 0, 0));
    EXPECT_EQ(ChildRects(dialog_)[IDC_FILELIST], Moved(before[IDC_FILELIST], 0, 0, dx, dy));
    ShowWindow(dialog_, SW_RESTORE);
    for (const auto& [id, rect] : before)
        EXPECT_EQ(ChildRects(dialog_)[id], rect) << "after restoring from maximized, id " << id;
}

TEST_F(GeometryTest, TheWindowCannotBeMadeSmallerThanItsTemplate) {
    Open();
    RECT start = WindowRect(dialog_);
    MINMAXINFO info{};
    SendMessageA(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, RectWidth(start));
    EXPECT_EQ(info.ptMinTrackSize.y, RectHeight(start));

    ResizeWindowTo(dialog_, 20, 20);
    RECT after = WindowRect(dialog_);
    EXPECT_EQ(RectWidth(after), RectWidth(start));
    EXPECT_EQ(RectHeight(after), RectHeight(start));
}

TEST_F(GeometryTest, PlacementCentersOnThePointAndKeepsInsideTheWorkArea) {
    Open();
    RECT window = WindowRect(dialog_);
    int w = RectWidth(window), h = RectHeight(window);
    const RECT work{100, 50, 900, 650};

    PlaceCenteredOn(dialog_, POINT{500, 300}, work);
    window = WindowRect(dialog_);
    EXPECT_EQ(window.left, 500 - w / 2);
    EXPECT_EQ(window.top, 300 - h / 2);

    PlaceCenteredOn(dialog_, POINT{898, 648}, work); // near the bottom-right corner
    window = WindowRect(dialog_);
    EXPECT_EQ(window.right, work.right);
    EXPECT_EQ(window.bottom, work.bottom);

    PlaceCenteredOn(dialog_, POINT{101, 51}, work); // near the top-left corner
    window = WindowRect(dialog_);
    EXPECT_EQ(window.left, work.left);
    EXPECT_EQ(window.top, work.top);

    // Narrower and lower than the window: its left and top edges stay in view.
    const RECT narrow{100, 50, 100 + w - 20, 50 + h - 10};
    PlaceCenteredOn(dialog_, POINT{150, 80}, narrow);
    window = WindowRect(dialog_);
    EXPECT_EQ(window.left, narrow.left);
    EXPECT_EQ(window.top, narrow.top);
}

TEST_F(GeometryTest, PlacementNearTheCursorUsesTheScreensWorkArea) {
    Open();
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_TRUE(SetCursorPos(work.right - 2, work.bottom - 2));
    PlaceNearCursor(dialog_);
    RECT window = WindowRect(dialog_);
    EXPECT_EQ(window.right, work.right);
    EXPECT_EQ(window.bottom, work.bottom);
}

TEST_F(GeometryTest, EmptyClientAreaDragsLikeTheCaptionAndTheFrameStaysAFrame) {
    Open();
    RECT window = WindowRect(dialog_);
    POINT client{2, 2}; // left of the label, above the name field
    ClientToScreen(dialog_, &client);
    auto hit = [&](int x, int y) {
        return SendMessageA(dialog_, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(client.x, client.y), HTCAPTION);
    EXPECT_EQ(hit(window.left, (window.top + window.bottom) / 2), HTLEFT);
    EXPECT_EQ(hit(window.right - 1, window.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(window.right + 50, window.bottom + 50), HTNOWHERE);
}

TEST_F(GeometryTest, TheSystemMenuItemTogglesTopmostAndShowsItsState) {
    Open();
    HMENU menu = GetSystemMenu(dialog_, FALSE);
    auto checked = [&] {
        SendMessageA(dialog_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                     MAKELPARAM(0, TRUE)); // the system menu
        return (GetMenuState(menu, IDM_TOPMOST, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    ASSERT_FALSE(IsTopmost(dialog_));
    EXPECT_FALSE(checked());
    SendMessageA(dialog_, WM_SYSCOMMAND, IDM_TOPMOST, 0);
    EXPECT_TRUE(IsTopmost(dialog_));
    EXPECT_TRUE(checked());
    SetTopmost(dialog_, true); // asked again, it stays
    EXPECT_TRUE(IsTopmost(dialog_));
    SendMessageA(dialog_, WM_SYSCOMMAND, IDM_TOPMOST, 0);
    EXPECT_FALSE(IsTopmost(dialog_));
    EXPECT_FALSE(checked());
}

} // namespace
