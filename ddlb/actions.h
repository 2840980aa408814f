// The default actions: what the control does with a record its parent sends back.
#pragma once

#include <windows.h>

#include "ddlb/state.h"

// WM_NOTIFY to the list box, lParam the record.
LRESULT DdlbOnNotify(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
