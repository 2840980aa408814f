#include "app/window_state.h"

#include <windowsx.h>

#include "text/buffer.h"

namespace {

bool MoveWindowTo(HWND window, int x, int y) {
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != 0;
}

} // namespace

SIZE GetWindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{RectWidth(rect), RectHeight(rect)};
}

void PlaceCenteredOn(HWND window, POINT center, const RECT& workArea) {
    SIZE size = GetWindowSize(window);
    int x = center.x - size.cx / 2;
    int y = center.y - size.cy / 2;
    // Far edges first: a window larger than the work area keeps its left and top edges
    // visible, with the title bar and the system menu.
    if (x + size.cx > workArea.right)
        x = workArea.right - size.cx;
    if (x < workArea.left)
        x = workArea.left;
    if (y + size.cy > workArea.bottom)
        y = workArea.bottom - size.cy;
    if (y < workArea.top)
        y = workArea.top;
    HWND parent = GetParent(window);
    if (parent != nullptr && IsChild(parent, window)) {
        POINT origin{x, y};
        ScreenToClient(parent, &origin);
        x = origin.x;
        y = origin.y;
    }
    MoveWindowTo(window, x, y);
}

void PlaceNearCursor(HWND window) {
    POINT cursor;
    RECT workArea;
    if (!GetCursorPos(&cursor) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        return;
    PlaceCenteredOn(window, cursor, workArea);
}

BOOL HitTestAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam) {
    LRESULT hit = DefWindowProcA(dialog, WM_NCHITTEST, wParam, lParam);
    if (hit == HTCLIENT)
        hit = HTCAPTION;
    return SetDlgMsgResult(dialog, WM_NCHITTEST, hit);
}

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void SetTopmost(HWND window, bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                     SWP_NOSENDCHANGING);
}

bool ResizeWindowTo(HWND window, int width, int height) {
    return SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER) != 0;
}

bool GetRestoredRect(HWND window, RECT* rect) {
    WINDOWPLACEMENT placement;
    ZeroFill(&placement, sizeof placement);
    placement.length = sizeof placement;
    bool read = GetWindowPlacement(window, &placement) != 0;
    CopyRect(rect, &placement.rcNormalPosition);
    return read;
}
