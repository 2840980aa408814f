// The main window's place and state: centred on the mouse cursor inside the work area, dragged
// by its client area, kept on top of other windows, and its size when restored.
#pragma once

#include <windows.h>

// Centres the window on the mouse cursor, kept inside the work area. A window that cannot
// learn where the cursor or the work area is stays where it is.
void PlaceNearCursor(HWND window);
// The same placement around a given point and work area.
void PlaceCenteredOn(HWND window, POINT center, const RECT& workArea);

// WM_NCHITTEST: an empty part of the client area drags the window as the caption does. Gives
// what the dialog procedure returns; the answer itself is the dialog's message result.
BOOL HitTestAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam);

// The state lives in the window's extended style alone.
bool IsTopmost(HWND window);
void SetTopmost(HWND window, bool on);

bool ResizeWindowTo(HWND window, int width, int height);
// The window's place and size when restored, also while maximised or minimised; all zero
// (and false) when it cannot be read.
bool GetRestoredRect(HWND window, RECT* rect);

inline int RectWidth(const RECT& rect) {
    return rect.right - rect.left;
}
inline int RectHeight(const RECT& rect) {
    return rect.bottom - rect.top;
}
// The window rectangle's size, frame included.
SIZE GetWindowSize(HWND window);
