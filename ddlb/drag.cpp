// Drag tracking of the drag-and-drop list box: the capture, the scroll timer, the insertion
// line and the cursor queries. Every handler reads the cursor position itself, because the
// timer callback has no message coordinates and all of them must agree on where the mouse is.
#include "ddlb/ddlb_internal.h"

#include <commctrl.h>

// --- Where the mouse is

// The gap under a screen point, numbered like the entry below it (count after the last
// entry); -1 outside the client area.
int DragTargetIndex(HWND list, POINT screen) {
    POINT client = screen;
    RECT area;
    if (!ScreenToClient(list, &client) || !GetClientRect(list, &area) || !PtInRect(&area, client))
        return -1;
    int count = ListCount(list);
    int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    if (height <= 0)
        return -1;
    int target = top + client.y / height;
    return target >= count ? count : target;
}

static bool ReadCursor(POINT* cursor) {
    return GetCursorPos(cursor) != FALSE;
}

// --- The insertion line. Drawn with an inverting pen straight on the window, so that
// drawing it again erases it: two line draws per mouse move, no repaint of the entries.

static void DrawLine(HDC dc, POINT start, POINT end) {
    int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetROP2(dc, R2_NOTXORPEN);
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, end.x, end.y);
    RestoreDC(dc, saved);
}

bool DrawInsertionMarker(DDLBDRAGINFO* info, HWND list, POINT screen) {
    int target = DragTargetIndex(list, screen);
    if (target < 0 || target > ListCount(list))
        return false;
    int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT area;
    GetClientRect(list, &area);
    int y = (target - top) * height;
    POINT start{0, y};
    POINT end{area.right - area.left, y};
    HDC dc = GetDC(list);
    if (dc == nullptr)
        return false;
    DrawLine(dc, start, end);
    ReleaseDC(list, dc);
    info->markerEnd = end;
    info->markerStart = start;
    info->markerShown = 1;
    return true;
}

// Edges count as inside: the right end of the line lies on the client rectangle's edge.
static bool OnOrInside(const RECT& area, POINT p) {
    return p.x >= area.left && p.x <= area.right && p.y >= area.top && p.y <= area.bottom;
}

// A line the list has shrunk away from is not drawn again (that would add a line rather
// than erase one); the next draw replaces the record.
bool EraseInsertionMarker(DDLBDRAGINFO* info, HWND list) {
    if (!info->markerShown)
        return false;
    RECT area;
    GetClientRect(list, &area);
    if (!OnOrInside(area, info->markerStart) || !OnOrInside(area, info->markerEnd))
        return false;
    HDC dc = GetDC(list);
    if (dc == nullptr)
        return false; // still shown: the next erase tries again
    info->markerShown = 0;
    DrawLine(dc, info->markerStart, info->markerEnd);
    ReleaseDC(list, dc);
    return true;
}

// --- Start and end of a drag

static void CALLBACK ScrollTimerTick(HWND list, UINT, UINT_PTR, DWORD) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    POINT cursor;
    if (info == nullptr || !IsListDragging(list) || !ReadCursor(&cursor))
        return;
    // Erase before scrolling and draw after it, so the line follows the entries it sits
    // between. LBItemFromPt scrolls by one entry when the cursor is above or below the
    // list, no faster than it allows itself; where it points is of no interest here.
    EraseInsertionMarker(info, list);
    LBItemFromPt(list, cursor, TRUE);
    DrawInsertionMarker(info, list, cursor);
}

bool BeginListDrag(HWND list, int index) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    if (info == nullptr || NotifyIndex(list, DDLBN_BEGINDRAG, index) != 0)
        return false;
    info->markerEnd = POINT{-1, -1};
    info->markerStart = POINT{-1, -1};
    info->sourceIndex = index;
    info->markerShown = 0;
    info->dragging = 1;
    SetCapture(list);
    // 0 ms: the platform runs the timer at its shortest interval; the scrolling rate is
    // LBItemFromPt's own.
    SetTimer(list, DDLB_SCROLL_TIMER, 0, ScrollTimerTick);
    return true;
}

bool EndListDrag(HWND list) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    if (info == nullptr || !info->dragging)
        return false;
    EraseInsertionMarker(info, list);
    info->dragging = 0;
    info->markerShown = 0;
    info->sourceIndex = -1;
    info->markerEnd = POINT{-1, -1};
    info->markerStart = POINT{-1, -1};
    NotifyHeaderOnly(list, DDLBN_ENDDRAG);
    return true;
}

// --- Message handlers

LRESULT OnLButtonDown(HWND list, WPARAM wParam, LPARAM lParam) {
    POINT cursor;
    if (ReadCursor(&cursor)) {
        int index = LBItemFromPt(list, cursor, FALSE);
        if (IsEntry(list, index))
            BeginListDrag(list, index);
    }
    // The list box's own procedure selects the entry under the mouse, drag or not.
    LRESULT result = PassOn(list, WM_LBUTTONDOWN, wParam, lParam);
    SendSelectionChange(list);
    return result;
}

static void AskParentForCursor(HWND list, POINT cursor, WPARAM wParam, LPARAM lParam) {
    HCURSOR shown = reinterpret_cast<HCURSOR>(
        NotifyDragCursor(list, DragTargetIndex(list, cursor), wParam, lParam));
    if (shown != nullptr)
        SetCursor(shown);
}

// During a drag the list box's own procedure sees no mouse movement: it would move the
// selection along with the mouse.
LRESULT OnMouseMove(HWND list, WPARAM wParam, LPARAM lParam) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    if (info == nullptr || !IsListDragging(list))
        return PassOn(list, WM_MOUSEMOVE, wParam, lParam);
    POINT cursor;
    if (!ReadCursor(&cursor))
        return 0;
    EraseInsertionMarker(info, list);
    DrawInsertionMarker(info, list, cursor);
    AskParentForCursor(list, cursor, wParam, lParam);
    return 0;
}

LRESULT OnSetCursor(HWND list, WPARAM wParam, LPARAM lParam) {
    POINT cursor;
    if (IsListDragging(list) && ReadCursor(&cursor))
        AskParentForCursor(list, cursor, wParam, lParam);
    return PassOn(list, WM_SETCURSOR, wParam, lParam);
}

// The drop is reported before the capture goes, so a parent that sends it back sees the
// entry moved and selected before DDLBN_ENDDRAG.
LRESULT OnLButtonUp(HWND list, WPARAM wParam, LPARAM lParam) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    if (info != nullptr && IsListDragging(list)) {
        POINT cursor;
        int source = info->sourceIndex;
        int target = ReadCursor(&cursor) ? DragTargetIndex(list, cursor) : -1;
        if (target != source && target >= 0 && target <= ListCount(list))
            NotifyDrop(list, source, target);
        if (GetCapture() == list)
            ReleaseCapture(); // ends the drag through WM_CAPTURECHANGED
    }
    return PassOn(list, WM_LBUTTONUP, wParam, lParam);
}

// The list box's own procedure captures the mouse again while it handles the press; that
// change to the list box itself must not end the drag just begun.
LRESULT OnCaptureChanged(HWND list, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != list) {
        KillTimer(list, DDLB_SCROLL_TIMER);
        EndListDrag(list);
    }
    return PassOn(list, WM_CAPTURECHANGED, wParam, lParam);
}
