// Attachment, the window procedure and the notifications of the drag-and-drop list box.
// The control never acts on its own notification while sending it: the parent either
// handles a code or sends the record back, and only a record that comes back as WM_NOTIFY
// runs a default action (actions.cpp).
#include "ddlb/ddlb.h"

#include <commctrl.h>

#include "ddlb/ddlb_internal.h"
#include "text/buffer.h"

DDLBDRAGINFO* DragInfoOf(HWND list) {
    return static_cast<DDLBDRAGINFO*>(GetPropA(list, DDLBPROP_DRAGINFO));
}

LRESULT PassOn(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(list, DDLBPROP_ORIGINALPROC));
    if (original == nullptr)
        return DefWindowProcA(list, message, wParam, lParam);
    return CallWindowProcA(original, list, message, wParam, lParam);
}

bool IsListDragging(HWND list) {
    DDLBDRAGINFO* info = DragInfoOf(list);
    return info != nullptr && info->dragging && GetCapture() == list;
}

int ListCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

bool IsEntry(HWND list, int index) {
    return index >= 0 && index < ListCount(list);
}

void SendSelectionChange(HWND list) {
    int id = GetDlgCtrlID(list);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

// --- Notifications. The record lives on the sender's stack for the length of the send.

static void StartRecord(DDLBNOTIFY* record, HWND list, UINT code) {
    ZeroFill(record, sizeof *record);
    record->hwndFrom = list;
    record->idFrom = static_cast<UINT>(GetDlgCtrlID(list));
    record->code = code;
}

static LRESULT SendRecord(HWND list, DDLBNOTIFY* record) {
    return SendMessageA(GetParent(list), WM_NOTIFY, record->idFrom,
                        reinterpret_cast<LPARAM>(record));
}

LRESULT NotifyHeaderOnly(HWND list, UINT code) {
    DDLBNOTIFY record;
    StartRecord(&record, list, code);
    return SendRecord(list, &record);
}

LRESULT NotifyIndex(HWND list, UINT code, int index) {
    DDLBNOTIFY record;
    StartRecord(&record, list, code);
    record.index = index;
    return SendRecord(list, &record);
}

LRESULT NotifyMessage(HWND list, UINT code, WPARAM wParam, LPARAM lParam) {
    DDLBNOTIFY record;
    StartRecord(&record, list, code);
    record.wParam = wParam;
    record.lParam = lParam;
    return SendRecord(list, &record);
}

LRESULT NotifyDrop(HWND list, int from, int to) {
    DDLBNOTIFY record;
    StartRecord(&record, list, DDLBN_DROP);
    record.from = from;
    record.to = to;
    return SendRecord(list, &record);
}

LRESULT NotifyDragCursor(HWND list, int to, WPARAM wParam, LPARAM lParam) {
    DDLBNOTIFY record;
    StartRecord(&record, list, DDLBN_DRAGCURSOR);
    record.to = to;
    record.wParam = wParam;
    record.lParam = lParam;
    return SendRecord(list, &record);
}

// --- Message handlers, one per message of the table below.

// The parent hears of the end while the control is still whole; the original procedure
// goes back before WM_DESTROY reaches it, so the list box dies as an ordinary list box.
static LRESULT OnDestroy(HWND list, WPARAM wParam, LPARAM lParam) {
    NotifyHeaderOnly(list, DDLBN_DESTROY);
    DDLBDRAGINFO* info = static_cast<DDLBDRAGINFO*>(RemovePropA(list, DDLBPROP_DRAGINFO));
    if (info != nullptr)
        HeapFree(GetProcessHeap(), 0, info);
    WNDPROC original = reinterpret_cast<WNDPROC>(RemovePropA(list, DDLBPROP_ORIGINALPROC));
    if (original == nullptr)
        return DefWindowProcA(list, WM_DESTROY, wParam, lParam);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return CallWindowProcA(original, list, WM_DESTROY, wParam, lParam);
}

// Releasing the capture is what ends a drag (through WM_CAPTURECHANGED); it is done on every
// loss of focus, so switching away with the keyboard never leaves a drag behind.
static LRESULT OnKillFocus(HWND list, WPARAM wParam, LPARAM lParam) {
    KillTimer(list, DDLB_SCROLL_TIMER);
    if (GetCapture() == list)
        ReleaseCapture();
    return PassOn(list, WM_KILLFOCUS, wParam, lParam);
}

// Keys are passed on in every case, so the list box's own arrow keys and type-ahead run
// after the parent (and any default action) has seen the key.
static LRESULT OnKeyDown(HWND list, WPARAM wParam, LPARAM lParam) {
    if (!IsListDragging(list))
        NotifyMessage(list, DDLBN_KEYDOWN, wParam, lParam);
    return PassOn(list, WM_KEYDOWN, wParam, lParam);
}

static LRESULT OnSysKeyDown(HWND list, WPARAM wParam, LPARAM lParam) {
    if (!IsListDragging(list))
        NotifyMessage(list, DDLBN_SYSKEYDOWN, wParam, lParam);
    return PassOn(list, WM_SYSKEYDOWN, wParam, lParam);
}

static int EntryUnderCursor(HWND list) {
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return -1;
    int index = LBItemFromPt(list, cursor, FALSE);
    return IsEntry(list, index) ? index : -1;
}

// The right button selects before the context menu appears, so the menu acts on the entry
// the user clicked rather than on an older selection.
static LRESULT OnRButtonDown(HWND list, WPARAM wParam, LPARAM lParam) {
    if (IsListDragging(list))
        return 0;
    int index = EntryUnderCursor(list);
    if (index >= 0) {
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendSelectionChange(list);
    }
    return PassOn(list, WM_RBUTTONDOWN, wParam, lParam);
}

static LRESULT OnRButtonUp(HWND list, WPARAM wParam, LPARAM lParam) {
    if (IsListDragging(list))
        return 0;
    int index = EntryUnderCursor(list);
    if (index >= 0)
        NotifyIndex(list, DDLBN_RCLICK, index);
    return PassOn(list, WM_RBUTTONUP, wParam, lParam);
}

// The drop handle belongs to the parent from here on: the control neither reads nor frees it.
static LRESULT OnDropFiles(HWND list, WPARAM wParam, LPARAM lParam) {
    NotifyMessage(list, DDLBN_DROPFILES, wParam, lParam);
    return 0;
}

static bool SwallowedWhileDragging(UINT message) {
    return message == WM_CHAR || message == WM_LBUTTONDBLCLK || message == WM_MOUSEWHEEL;
}

static LRESULT CALLBACK DragDropListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    // Type-ahead, a double click or the wheel would change the selection or scroll the list
    // under the entry being dragged.
    if (SwallowedWhileDragging(message) && IsListDragging(list))
        return 0;
    switch (message) {
    case WM_DESTROY:
        return OnDestroy(list, wParam, lParam);
    case WM_KILLFOCUS:
        return OnKillFocus(list, wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(list, wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(list, wParam, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(list, wParam, lParam);
    case WM_SYSKEYDOWN:
        return OnSysKeyDown(list, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(list, wParam, lParam);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(list, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(list, wParam, lParam);
    case WM_RBUTTONDOWN:
        return OnRButtonDown(list, wParam, lParam);
    case WM_RBUTTONUP:
        return OnRButtonUp(list, wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(list, wParam, lParam);
    case WM_DROPFILES:
        return OnDropFiles(list, wParam, lParam);
    default:
        return PassOn(list, message, wParam, lParam);
    }
}

BOOL AttachDragDropListBox(HWND list) {
    // A second attachment would make the control its own original procedure.
    if (DragInfoOf(list) != nullptr)
        return TRUE;
    DDLBDRAGINFO* info =
        static_cast<DDLBDRAGINFO*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DDLBDRAGINFO)));
    if (info == nullptr)
        return FALSE;
    ZeroFill(info, sizeof *info);
    info->sourceIndex = -1;
    info->markerEnd = POINT{-1, -1};
    info->markerStart = POINT{-1, -1};

    LONG_PTR original =
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DragDropListProc));
    if (original == 0) { // not a window: nothing was replaced
        HeapFree(GetProcessHeap(), 0, info);
        return FALSE;
    }
    SetPropA(list, DDLBPROP_ORIGINALPROC, reinterpret_cast<HANDLE>(original));
    SetPropA(list, DDLBPROP_DRAGINFO, static_cast<HANDLE>(info));
    return TRUE;
}
