// The control's state, found once per message and handed to every handler, and the one way
// it notifies its parent. Shared by ddlb.cpp, actions.cpp and drag.cpp; not for users of the
// control.
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

// The record of an attached list box; null for any other window.
DDLBDRAGINFO* DdlbStateOf(HWND list);
// No drag, no source, no line on screen: the state after attachment and after every drag.
void DdlbClearDrag(DDLBDRAGINFO* info);
// The dragging flag alone is not enough: a capture lost to another window ends the drag
// even before the WM_CAPTURECHANGED that clears the flag has arrived.
bool IsListDragging(const DDLBDRAGINFO* info, HWND list);

// Calls the list box's own procedure with the message and gives its answer.
LRESULT DdlbPassOn(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

// The fields of a notification after its header, in the record's order. A code fills those
// ddlb.h names for it; the others stay 0.
struct DdlbFields {
    int index = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    int from = 0;
    int to = 0;
};
// Sends code to the list's parent as WM_NOTIFY and gives the parent's answer.
LRESULT DdlbNotify(HWND list, UINT code, const DdlbFields& fields = DdlbFields());
// WM_COMMAND with LBN_SELCHANGE, as the list box itself would send it.
void DdlbSendSelectionChange(HWND list);
