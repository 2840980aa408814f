// Shared between the control's window procedure (ddlb.cpp), its default actions
// (actions.cpp) and its drag tracking (drag.cpp). Nothing here is for the control's users.
#pragma once

#include <windows.h>

#include "ddlb/ddlb.h"

#define DDLBPROP_ORIGINALPROC "DDLBPROP_ORIGINALPROC"
#define DDLBPROP_DRAGINFO "DDLBPROP_DRAGINFO"

// The control's whole state, one per attached list box, found through DDLBPROP_DRAGINFO.
struct DDLBDRAGINFO {
    int sourceIndex; // the entry being dragged; -1 when idle
    BYTE dragging;
    BYTE markerShown;
    POINT markerEnd;   // right end of the insertion line last drawn
    POINT markerStart; // left end of the insertion line last drawn
};

// --- ddlb.cpp
DDLBDRAGINFO* DragInfoOf(HWND list);
// Calls the list box's own procedure with the message and gives its answer.
LRESULT PassOn(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
// The dragging flag alone is not enough: a capture lost to another window ends the drag
// even before the WM_CAPTURECHANGED that clears the flag has arrived.
bool IsListDragging(HWND list);
int ListCount(HWND list);
bool IsEntry(HWND list, int index);
void SendSelectionChange(HWND list);

// Notifications to the parent; every field a code does not name stays 0.
LRESULT NotifyHeaderOnly(HWND list, UINT code);
LRESULT NotifyIndex(HWND list, UINT code, int index);
LRESULT NotifyMessage(HWND list, UINT code, WPARAM wParam, LPARAM lParam);
LRESULT NotifyDrop(HWND list, int from, int to);
LRESULT NotifyDragCursor(HWND list, int to, WPARAM wParam, LPARAM lParam);

// --- actions.cpp
// The default action for a record that came back to the control as WM_NOTIFY.
LRESULT OnNotify(HWND list, WPARAM wParam, LPARAM lParam);
// Moves entry from into the gap before the entry now at to (to == count: after the last)
// and gives the entry's new index; -1 with the list unchanged when either is out of range.
int MoveListEntry(HWND list, int from, int to);

// --- drag.cpp
int DragTargetIndex(HWND list, POINT screen);
bool BeginListDrag(HWND list, int index);
bool EndListDrag(HWND list);
bool DrawInsertionMarker(DDLBDRAGINFO* info, HWND list, POINT screen);
bool EraseInsertionMarker(DDLBDRAGINFO* info, HWND list);

LRESULT OnLButtonDown(HWND list, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseMove(HWND list, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonUp(HWND list, WPARAM wParam, LPARAM lParam);
LRESULT OnCaptureChanged(HWND list, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCursor(HWND list, WPARAM wParam, LPARAM lParam);
