#include <cstring>

#include "ddlb/ddlb.h"

int GetListEntryText(HWND list, int index, char* text, int size) {
    text[0] = '\0';
    LRESULT reported = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (reported < 0 || size <= 0)
        return -1;
    // The reported length is never less than the text's: when it fits, read in place.
    if (reported < size) {
        LRESULT length = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
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
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole));
    int result = -1;
    // A text that does not fit is not cut: a cut path could name another file.
    if (length >= 0 && length < size) {
        std::memcpy(text, whole, static_cast<size_t>(length) + 1);
        result = static_cast<int>(length);
    }
    HeapFree(GetProcessHeap(), 0, whole);
    return result;
}
