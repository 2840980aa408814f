// Operations on the entries of any list box, attached or not, through list box messages
// alone: they know nothing of the control's state and send no notification. The ones for
// the control's users (reading an entry, deleting the selection) are declared in ddlb.h.
#pragma once

#include <windows.h>

int ListEntryCount(HWND list);
// 0 <= index < count.
bool IsListEntry(HWND list, int index);
// LB_ERR when nothing is selected.
int SelectedListEntry(HWND list);
void SelectListEntry(HWND list, int index);
// The entry under the mouse cursor; -1 over no entry.
int ListEntryUnderCursor(HWND list);
// Moves entry from into the gap before the entry now at to (to == count: after the last)
// and gives the entry's new index; -1 with the list unchanged when either is out of range.
int MoveListEntry(HWND list, int from, int to);
