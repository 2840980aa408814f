#include "ddlb/state.h"

#include "text/buffer.h"

DDLBDRAGINFO* DdlbStateOf(HWND list) {
    return static_cast<DDLBDRAGINFO*>(GetPropA(list, DDLBPROP_DRAGINFO));
}

void DdlbClearDrag(DDLBDRAGINFO* info) {
    info->sourceIndex = -1;
    info->dragging = 0;
    info->markerShown = 0;
    info->markerEnd = POINT{-1, -1};
    info->markerStart = POINT{-1, -1};
}

bool IsListDragging(const DDLBDRAGINFO* info, HWND list) {
    return info->dragging && GetCapture() == list;
}

LRESULT DdlbPassOn(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(list, DDLBPROP_ORIGINALPROC));
    if (original == nullptr)
        return DefWindowProcA(list, message, wParam, lParam);
    return CallWindowProcA(original, list, message, wParam, lParam);
}

// The record lives on this stack for the length of the send: a parent that sends it back
// does so inside this call.
LRESULT DdlbNotify(HWND list, UINT code, const DdlbFields& fields) {
    DDLBNOTIFY record;
    ZeroFill(&record, sizeof record);
    record.hwndFrom = list;
    record.idFrom = static_cast<UINT>(GetDlgCtrlID(list));
    record.code = code;
    record.index = fields.index;
    record.wParam = fields.wParam;
    record.lParam = fields.lParam;
    record.from = fields.from;
    record.to = fields.to;
    return SendMessageA(GetParent(list), WM_NOTIFY, record.idFrom,
                        reinterpret_cast<LPARAM>(&record));
}

void DdlbSendSelectionChange(HWND list) {
    int id = GetDlgCtrlID(list);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}
