// Drag tracking of the drag-and-drop list box: the capture, the scroll timer, the insertion
// line and the cursor queries. Every handler reads the cursor position itself, because the
// timer callback has no message coordinates and all of them must agree on where the mouse is.
#include "ddlb/drag.h"

#include <commctrl.h>

#include "ddlb/list.h"

// On the list box itself; it runs only while a drag is tracked.
constexpr UINT_PTR kScrollTimer = 100;

// --- Where the mouse is

// The gap under a screen point, numbered like the entry below it (count after the last
// entry); -1 outside the client area.
static int DragTargetIndex(HWND list, POINT screen) {
    POINT client = screen;
    RECT area;
    if (!ScreenToClient(list, &client) || !GetClientRect(list, &area) || !PtInRect(&area, client))
        return -1;
    int count = ListEntryCount(list);
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

static bool DrawInsertionMarker(DDLBDRAGINFO* info, HWND list, POINT screen) {
    int target = DragTargetIndex(list, screen);
    if (target < 0 || target > ListEntryCount(list))
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
static bool EraseInsertionMarker(DDLBDRAGINFO* info, HWND list) {
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
    DDLBDRAGINFO* info = DdlbStateOf(list);
    POINT cursor;
    if (info == nullptr || !IsListDragging(info, list) || !ReadCursor(&cursor))
        return;
    // Erase before scrolling and draw after it, so the line follows the entries it sits
    // between. LBItemFromPt scrolls by one entry when the cursor is above or below the
    // list, no faster than it allows itself; where it points is of no interest here.
    EraseInsertionMarker(info, list);
    LBItemFromPt(list, cursor, TRUE);
    DrawInsertionMarker(info, list, cursor);
}

static void StopScrollTimer(HWND list) {
    KillTimer(list, kScrollTimer);
}

static bool BeginListDrag(DDLBDRAGINFO* info, HWND list, int index) {
    if (DdlbNotify(list, DDLBN_BEGINDRAG, {index}) != 0)
        return false;
    DdlbClearDrag(info);
    info->sourceIndex = index;
    info->dragging = 1;
    SetCapture(list);
    // 0 ms: the platform runs the timer at its shortest interval; the scrolling rate is
    // LBItemFromPt's own.
    SetTimer(list, kScrollTimer, 0, ScrollTimerTick);
    return true;
}

static bool EndListDrag(DDLBDRAGINFO* info, HWND list) {
    if (!info->dragging)
        return false;
    EraseInsertionMarker(info, list);
    DdlbClearDrag(info);
    DdlbNotify(list, DDLBN_ENDDRAG);
    return true;
}

// --- Message handlers

LRESULT DdlbOnLButtonDown(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    int index = ListEntryUnderCursor(list);
    if (index >= 0)
        BeginListDrag(info, list, index);
    // The list box's own procedure selects the entry under the mouse, drag or not.
    LRESULT result = DdlbPassOn(list, WM_LBUTTONDOWN, wParam, lParam);
    DdlbSendSelectionChange(list);
    return result;
}

static void AskParentForCursor(HWND list, POINT cursor, WPARAM wParam, LPARAM lParam) {
    LRESULT answer =
        DdlbNotify(list, DDLBN_DRAGCURSOR, {0, wParam, lParam, 0, DragTargetIndex(list, cursor)});
    HCURSOR shown = reinterpret_cast<HCURSOR>(answer);
    if (shown != nullptr)
        SetCursor(shown);
}

// During a drag the list box's own procedure sees no mouse movement: it would move the
// selection along with the mouse.
LRESULT DdlbOnMouseMove(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (!IsListDragging(info, list))
        return DdlbPassOn(list, WM_MOUSEMOVE, wParam, lParam);
    POINT cursor;
    if (!ReadCursor(&cursor))
        return 0;
    EraseInsertionMarker(info, list);
    DrawInsertionMarker(info, list, cursor);
    AskParentForCursor(list, cursor, wParam, lParam);
    return 0;
}

LRESULT DdlbOnSetCursor(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    POINT cursor;
    if (IsListDragging(info, list) && ReadCursor(&cursor))
        AskParentForCursor(list, cursor, wParam, lParam);
    return DdlbPassOn(list, WM_SETCURSOR, wParam, lParam);
}

// The drop is reported before the capture goes, so a parent that sends it back sees the
// entry moved and selected before DDLBN_ENDDRAG.
LRESULT DdlbOnLButtonUp(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (IsListDragging(info, list)) {
        POINT cursor;
        int source = info->sourceIndex;
        int target = ReadCursor(&cursor) ? DragTargetIndex(list, cursor) : -1;
        if (target != source && target >= 0 && target <= ListEntryCount(list))
            DdlbNotify(list, DDLBN_DROP, {0, 0, 0, source, target});
        if (GetCapture() == list)
            ReleaseCapture(); // ends the drag through WM_CAPTURECHANGED
    }
    return DdlbPassOn(list, WM_LBUTTONUP, wParam, lParam);
}

// The list box's own procedure captures the mouse again while it handles the press; that
// change to the list box itself must not end the drag just begun.
LRESULT DdlbOnCaptureChanged(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != list) {
        StopScrollTimer(list);
        EndListDrag(info, list);
    }
    return DdlbPassOn(list, WM_CAPTURECHANGED, wParam, lParam);
}

// Releasing the capture is what ends a drag (through WM_CAPTURECHANGED); it is done on every
// loss of focus, so switching away with the keyboard never leaves a drag behind.
LRESULT DdlbOnKillFocus(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    StopScrollTimer(list);
    if (GetCapture() == list)
        ReleaseCapture();
    return DdlbPassOn(list, WM_KILLFOCUS, wParam, lParam);
}
