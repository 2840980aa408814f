#include "ddlb/list.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "ddlb/ddlb.h"
#include "text/buffer.h"

int ListEntryCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

bool IsListEntry(HWND list, int index) {
    return index >= 0 && index < ListEntryCount(list);
}

int SelectedListEntry(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

void SelectListEntry(HWND list, int index) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ListEntryUnderCursor(HWND list) {
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return -1;
    int index = LBItemFromPt(list, cursor, FALSE);
    return IsListEntry(list, index) ? index : -1;
}

LRESULT CallListBox(const ListBoxCalls& calls, UINT message, WPARAM wParam, LPARAM lParam) {
    if (calls.procedure == nullptr || message < LB_ADDSTRING || message > LB_MSGMAX)
        return SendMessageA(calls.list, message, wParam, lParam);
    return CallWindowProcA(calls.procedure, calls.list, message, wParam, lParam);
}

int GetListEntryText(HWND list, int index, char* text, int size) {
    return GetListEntryText(ListBoxCalls{list, nullptr}, index, text, size);
}

int GetListEntryText(const ListBoxCalls& calls, int index, char* text, int size) {
    text[0] = '\0';
    LRESULT reported = CallListBox(calls, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (reported < 0 || size <= 0)
        return -1;
    // The reported length is never less than the text's: when it fits, read in place.
    if (reported < size) {
        LRESULT length = CallListBox(calls, LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text));
        if (length >= 0 && length < size)
            return static_cast<int>(length);
        text[0] = '\0';
        return -1;
    }
    // An ANSI list box may report more than the text needs (room for converting double-byte
    // text, or a length in characters): only the text itself decides whether it fits. Four
    // bytes for each reported unit cover any spelling of it.
    SIZE_T room = 4 * static_cast<SIZE_T>(reported) + 4;
    char* whole = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, room));
    if (whole == nullptr)
        return -1;
    LRESULT length =
        CallListBox(calls, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole));
    int result = -1;
    // A text that does not fit is not cut: a cut path could name another file.
    if (length >= 0 && length < size) {
        std::memcpy(text, whole, static_cast<size_t>(length) + 1);
        result = static_cast<int>(length);
    }
    HeapFree(GetProcessHeap(), 0, whole);
    return result;
}

int MoveListEntry(HWND list, int from, int to) {
    // Checked before anything is deleted: a bad target would otherwise lose the entry.
    int count = ListEntryCount(list);
    if (from < 0 || from >= count || to < 0 || to > count)
        return -1;
    // An entry too long to read whole stays where it is rather than move cut short.
    PathBuffer text;
    if (GetListEntryText(list, from, text, kPathBufferSize) < 0)
        return -1;
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(from), 0);
    // The copy goes in first, at an index, because a sorted list box would put an added string
    // back where the sort wants it instead of where the user dropped it. Only once it is in is
    // the entry taken from its old place: a failed insertion (out of memory) keeps the entry.
    LRESULT inserted = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(to),
                                    reinterpret_cast<LPARAM>(text));
    if (inserted < 0)
        return -1;
    if (data != 0)
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(inserted), data);
    // An entry inserted above it moved the old one down by one.
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(from < to ? from : from + 1), 0);
    // Deleting the entry moved every gap below it up by one.
    return from < to ? to - 1 : to;
}

void DeleteSelectedListEntry(HWND list, ListNeighbor select) {
    int selected = SelectedListEntry(list);
    if (!IsListEntry(list, selected))
        return;
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    int count = ListEntryCount(list);
    if (count <= 0)
        return;
    int neighbor = select == ListNeighbor::Previous ? std::max(0, std::min(selected - 1, count - 1))
                                                    : std::min(selected, count - 1);
    SelectListEntry(list, neighbor);
}
