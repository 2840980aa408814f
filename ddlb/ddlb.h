// The drag-and-drop list box: an ordinary list box made reorderable in place. It reports
// what the user does to its parent as WM_NOTIFY with a DDLBNOTIFY record; a parent that
// wants the control's default action for a record sends that same record back to it.
#pragma once

#include <windows.h>

#define DDLBN_KEYDOWN (WM_USER + 1)     // wParam, lParam of WM_KEYDOWN
#define DDLBN_BEGINDRAG (WM_USER + 2)   // index; a nonzero answer refuses the drag or move
#define DDLBN_DROP (WM_USER + 3)        // from, to
#define DDLBN_ENDDRAG (WM_USER + 4)     // header only
#define DDLBN_DRAGCURSOR (WM_USER + 5)  // to, wParam, lParam; answer a cursor or 0
#define DDLBN_DROPFILES (WM_USER + 6)   // wParam (the HDROP, released by the parent), lParam
#define DDLBN_RCLICK (WM_USER + 7)      // index
#define DDLBN_CONTEXTMENU (WM_USER + 8) // header only
#define DDLBN_SYSKEYDOWN (WM_USER + 9)  // wParam, lParam of WM_SYSKEYDOWN
#define DDLBN_DESTROY (WM_USER + 10)    // header only, while still attached

// The first three fields have the layout of NMHDR, so the record travels as WM_NOTIFY.
// wParam and lParam are pointer-sized, as a drop handle must fit in wParam.
typedef struct DDLBNOTIFY {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
    int index;
    WPARAM wParam;
    LPARAM lParam;
    int from;
    int to;
} DDLBNOTIFY;

// Makes list a drag-and-drop list box; false (and an ordinary list box) when its state
// cannot be allocated. It detaches itself on WM_DESTROY.
bool AttachDragDropListBox(HWND list);

// --- Operations on the entries of any list box, attached or not. They send no notification
// and no selection-change command.

// Copies entry index of any list box into text (size bytes) and gives its length; -1 and an
// empty text when there is no such entry or its text does not fit whole.
int GetListEntryText(HWND list, int index, char* text, int size);

// --- LB_ messages by the thousand (a big drop). The control handles none of them, but each
// one sent passes through it and its lookup of the list box's own procedure, which under Wine
// costs more than the list box's work: these calls look it up once and call it directly.
struct ListBoxCalls {
    HWND list;
    WNDPROC procedure; // null: every message is sent as usual
};
// Only the control's own procedure is stepped over: whatever subclassed the list box after it
// still sees every message. Good while nothing attaches or subclasses in between.
ListBoxCalls ListBoxCallsOf(HWND list);
// An LB_ message goes straight to calls.procedure when there is one; any other is sent.
LRESULT CallListBox(const ListBoxCalls& calls, UINT message, WPARAM wParam, LPARAM lParam);
// GetListEntryText by way of calls.
int GetListEntryText(const ListBoxCalls& calls, int index, char* text, int size);

// Which entry is selected once the selected one is deleted: the one before it, or the one
// after it (now in its place); at either end of the list, the nearest one.
enum class ListNeighbor { Previous, Next };
// Deletes the selected entry and selects its neighbor; nothing when no entry is selected.
void DeleteSelectedListEntry(HWND list, ListNeighbor select);
