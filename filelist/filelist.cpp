#include "filelist/filelist.h"

#include <algorithm>

#include "text/buffer.h"
#include "text/path.h"

void AddDroppedFiles(HWND list, HDROP drop) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        PathBuffer name;
        // A name too long for a PathBuffer is not fetched cut short: it would name another file.
        if (DragQueryFileA(drop, i, nullptr, 0) >= static_cast<UINT>(kPathBufferSize))
            continue;
        DragQueryFileA(drop, i, name, kPathBufferSize);
        if (FileExists(name))
            AddFileToList(name, list);
    }
    DragFinish(drop);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

bool AddFileToList(const char* path, HWND list) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    PathBuffer canonical;
    if (!GetCanonicalPath(canonical, path))
        return false;
    if (SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(canonical)) != LB_ERR)
        return false;
    LRESULT added = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(canonical));
    return added != LB_ERR && added != LB_ERRSPACE;
}

void DeleteSelectedEntry(HWND list) {
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (selected < 0 || selected >= count)
        return;
    LRESULT remaining = SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    if (remaining > 0)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(selected, remaining - 1)), 0);
}

static int ListBoxCount(const void* owner) {
    HWND list = static_cast<HWND>(const_cast<void*>(owner));
    return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

static void ListBoxEntry(const void* owner, int index, char* path) {
    HWND list = static_cast<HWND>(const_cast<void*>(owner));
    path[0] = '\0';
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    // Entries are canonical paths and always fit; anything longer is read as no file at all.
    if (length >= 0 && length < kPathBufferSize)
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(path));
}

FileList FileListOfListBox(HWND list) {
    return FileList{ListBoxCount, ListBoxEntry, nullptr, list};
}
