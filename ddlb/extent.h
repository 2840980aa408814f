// The list's horizontal extent: as wide as its widest entry, so that a list box with a
// horizontal scroll bar can show the end of every entry. The list box keeps no extent of its
// own; the control follows every message that adds or removes an entry and sets it.
#pragma once

#include <windows.h>

#include "ddlb/state.h"

LRESULT DdlbOnAddString(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnInsertString(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnDeleteString(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnResetContent(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
// Drawing back on: the entries may have changed by calls straight to the list box's own
// procedure (ListBoxCallsOf), which the control does not see.
LRESULT DdlbOnSetRedraw(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnSize(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
