// Attachment and the window procedure of the drag-and-drop list box: its message table, and
// the handlers of the messages that neither start nor follow a drag. The control never acts
// on its own notification while sending it: the parent either handles a code or sends the
// record back, and only a record that comes back as WM_NOTIFY runs a default action
// (actions.cpp).
#include "ddlb/ddlb.h"

#include "ddlb/actions.h"
#include "ddlb/drag.h"
#include "ddlb/extent.h"
#include "ddlb/list.h"
#include "ddlb/state.h"
#include "text/buffer.h"

// --- Message handlers, one per message of the table below; a drag's messages are handled
// in drag.cpp, records sent back (WM_NOTIFY) in actions.cpp.

// The parent hears of the end while the control is still whole; the original procedure
// goes back before WM_DESTROY reaches it, so the list box dies as an ordinary list box.
static LRESULT DdlbOnDestroy(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    DdlbNotify(list, DDLBN_DESTROY);
    RemovePropA(list, DDLBPROP_DRAGINFO);
    HeapFree(GetProcessHeap(), 0, info);
    WNDPROC original = reinterpret_cast<WNDPROC>(RemovePropA(list, DDLBPROP_ORIGINALPROC));
    if (original == nullptr)
        return DefWindowProcA(list, WM_DESTROY, wParam, lParam);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return CallWindowProcA(original, list, WM_DESTROY, wParam, lParam);
}

// Keys are passed on in every case, so the list box's own arrow keys and type-ahead run
// after the parent (and any default action) has seen the key.
static LRESULT DdlbOnKeyDown(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (!IsListDragging(info, list))
        DdlbNotify(list, DDLBN_KEYDOWN, {0, wParam, lParam});
    return DdlbPassOn(list, WM_KEYDOWN, wParam, lParam);
}

static LRESULT DdlbOnSysKeyDown(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (!IsListDragging(info, list))
        DdlbNotify(list, DDLBN_SYSKEYDOWN, {0, wParam, lParam});
    return DdlbPassOn(list, WM_SYSKEYDOWN, wParam, lParam);
}

// The right button selects before the context menu appears, so the menu acts on the entry
// the user clicked rather than on an older selection.
static LRESULT DdlbOnRButtonDown(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (IsListDragging(info, list))
        return 0;
    int index = ListEntryUnderCursor(list);
    if (index >= 0) {
        SelectListEntry(list, index);
        DdlbSendSelectionChange(list);
    }
    return DdlbPassOn(list, WM_RBUTTONDOWN, wParam, lParam);
}

static LRESULT DdlbOnRButtonUp(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam) {
    if (IsListDragging(info, list))
        return 0;
    int index = ListEntryUnderCursor(list);
    if (index >= 0)
        DdlbNotify(list, DDLBN_RCLICK, {index});
    return DdlbPassOn(list, WM_RBUTTONUP, wParam, lParam);
}

// The drop handle belongs to the parent from here on: the control neither reads nor frees it.
static LRESULT DdlbOnDropFiles(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    DdlbNotify(list, DDLBN_DROPFILES, {0, wParam, lParam});
    return 0;
}

// --- The message table

// Type-ahead, a double click or the wheel would change the selection or scroll the list
// under the entry being dragged.
static bool SwallowedWhileDragging(UINT message) {
    return message == WM_CHAR || message == WM_LBUTTONDBLCLK || message == WM_MOUSEWHEEL;
}

typedef LRESULT (*DdlbHandler)(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);

struct DdlbRoute {
    UINT message;
    DdlbHandler handler;
};

const DdlbRoute kRoutes[] = {
    {WM_DESTROY, DdlbOnDestroy},
    {WM_KILLFOCUS, DdlbOnKillFocus},
    {WM_SETCURSOR, DdlbOnSetCursor},
    {WM_NOTIFY, DdlbOnNotify},
    {WM_KEYDOWN, DdlbOnKeyDown},
    {WM_SYSKEYDOWN, DdlbOnSysKeyDown},
    {WM_MOUSEMOVE, DdlbOnMouseMove},
    {WM_LBUTTONDOWN, DdlbOnLButtonDown},
    {WM_LBUTTONUP, DdlbOnLButtonUp},
    {WM_RBUTTONDOWN, DdlbOnRButtonDown},
    {WM_RBUTTONUP, DdlbOnRButtonUp},
    {WM_CAPTURECHANGED, DdlbOnCaptureChanged},
    {WM_DROPFILES, DdlbOnDropFiles},
    {LB_ADDSTRING, DdlbOnAddString},
    {LB_INSERTSTRING, DdlbOnInsertString},
    {LB_DELETESTRING, DdlbOnDeleteString},
    {LB_RESETCONTENT, DdlbOnResetContent},
    {WM_SETREDRAW, DdlbOnSetRedraw},
    {WM_SIZE, DdlbOnSize},
};

static DdlbHandler DdlbHandlerOf(UINT message) {
    for (const DdlbRoute& route : kRoutes)
        if (route.message == message)
            return route.handler;
    return nullptr;
}

static LRESULT CALLBACK DragDropListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    DdlbHandler handler = DdlbHandlerOf(message);
    bool swallowed = SwallowedWhileDragging(message);
    // What the control leaves to the list box goes on without its state: each lookup of a
    // window property is a round trip to the window server under Wine, which the thousands
    // of strings a large drop adds would feel.
    DDLBDRAGINFO* info = handler != nullptr || swallowed ? DdlbStateOf(list) : nullptr;
    if (swallowed && info != nullptr && IsListDragging(info, list))
        return 0;
    // Only a list box whose attachment did not finish has no state: it stays an ordinary one.
    if (handler == nullptr || info == nullptr)
        return DdlbPassOn(list, message, wParam, lParam);
    return handler(info, list, wParam, lParam);
}

// --- Attachment

bool AttachDragDropListBox(HWND list) {
    // A second attachment would make the control its own original procedure.
    if (DdlbStateOf(list) != nullptr)
        return true;
    DDLBDRAGINFO* info =
        static_cast<DDLBDRAGINFO*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DDLBDRAGINFO)));
    if (info == nullptr)
        return false;
    ZeroFill(info, sizeof *info);
    DdlbClearDrag(info);

    LONG_PTR original =
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DragDropListProc));
    if (original == 0) { // not a window: nothing was replaced
        HeapFree(GetProcessHeap(), 0, info);
        return false;
    }
    SetPropA(list, DDLBPROP_ORIGINALPROC, reinterpret_cast<HANDLE>(original));
    SetPropA(list, DDLBPROP_DRAGINFO, static_cast<HANDLE>(info));
    return true;
}

ListBoxCalls ListBoxCallsOf(HWND list) {
    // A list box that is not attached, or was subclassed again since, gets its messages the
    // usual way: a procedure that came after the control's would miss them.
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC));
    if (current != DragDropListProc)
        return ListBoxCalls{list, nullptr};
    return ListBoxCalls{list, reinterpret_cast<WNDPROC>(GetPropA(list, DDLBPROP_ORIGINALPROC))};
}
