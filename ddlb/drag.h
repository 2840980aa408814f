// Drag tracking: the messages the message table hands over because they start, follow or
// end a drag of an entry.
#pragma once

#include <windows.h>

#include "ddlb/state.h"

LRESULT DdlbOnLButtonDown(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnMouseMove(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnSetCursor(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnLButtonUp(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnCaptureChanged(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
LRESULT DdlbOnKillFocus(DDLBDRAGINFO* info, HWND list, WPARAM wParam, LPARAM lParam);
