// The main window's geometry: controls anchored to the edges while the dialog is resized, a
// minimum size of the template's size, placement centred on the mouse cursor inside the work
// area, dragging by the client area, and the always-on-top state.
#pragma once

#include <windows.h>

// Taken once, when the dialog is created from its template. clientRect.right and .bottom then
// follow every handled WM_SIZE as the last known client size.
struct LayoutBaseline {
    RECT clientRect;
    int minWidth; // window size, frame included: the minimum tracking size
    int minHeight;
};

const LayoutBaseline& CurrentLayoutBaseline();

// Message handlers; the dialog procedure answers TRUE for each.
void RecordLayoutBaseline(HWND dialog);
void LayoutOnSize(HWND dialog, WPARAM sizeType, int clientWidth, int clientHeight);
void FillMinTrackSize(MINMAXINFO* minMaxInfo);
void HitTestAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam);

// Centres the window on the mouse cursor, kept inside the work area. A window that cannot
// learn where the cursor or the work area is stays where it is.
void PlaceNearCursor(HWND window);
// The same placement around a given point and work area.
void PlaceCentredOn(HWND window, POINT centre, const RECT& workArea);

bool MoveWindowTo(HWND window, int x, int y);
bool ResizeWindowTo(HWND window, int width, int height);
bool IsTopmost(HWND window);
void SetTopmost(HWND window, bool on);
// The window's place and size when restored, also while maximised or minimised; all zero
// (and false) when it cannot be read.
bool GetRestoredRect(HWND window, RECT* rect);
// One deferred move and resize by the given differences; batch is replaced by the handle the
// system gives back.
void DeferControlMove(HDWP& batch, HWND control, int dx, int dy, int dw, int dh);

inline int RectWidth(const RECT& rect) {
    return rect.right - rect.left;
}
inline int RectHeight(const RECT& rect) {
    return rect.bottom - rect.top;
}
SIZE GetWindowSize(HWND window);
POINT GetWindowOrigin(HWND window);
