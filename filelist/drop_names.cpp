#include "filelist/drop_names.h"

#include <shlobj.h>

#include "text/wide_win32.h"

bool OpenDropNames(HDROP drop, DropNames* names) {
    names->drop = drop;
    SIZE_T size = GlobalSize(drop);
    const BYTE* base = static_cast<const BYTE*>(GlobalLock(drop));
    if (base == nullptr)
        return false;
    const DROPFILES* header = reinterpret_cast<const DROPFILES*>(base);
    if (size < sizeof(DROPFILES) || header->pFiles > size) {
        GlobalUnlock(drop);
        return false;
    }
    names->at = base + header->pFiles;
    names->end = base + size;
    names->wide = header->fWide != FALSE;
    return true;
}

// The length in bytes of the string at `at`, its NUL excluded; -1 when no NUL comes before
// the end of the block.
static long StringBytes(const BYTE* at, const BYTE* end, bool wide) {
    std::size_t unit = wide ? sizeof(WCHAR) : 1;
    for (const BYTE* p = at; p + unit <= end; p += unit) {
        if (p[0] == 0 && (!wide || p[1] == 0))
            return static_cast<long>(p - at);
    }
    return -1;
}

bool NextDropName(DropNames* names, char* name, bool* fits) {
    long bytes = StringBytes(names->at, names->end, names->wide);
    if (bytes <= 0)
        return false; // the empty string that ends the list, or a list without its end
    name[0] = '\0';
    if (names->wide) {
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(names->at);
        *fits = WideToPath(wide, name);
        names->at += bytes + sizeof(WCHAR);
    } else {
        *fits = CopyWholePath(name, reinterpret_cast<const char*>(names->at));
        names->at += bytes + 1;
    }
    if (!*fits)
        name[0] = '\0';
    return true;
}

void CloseDropNames(DropNames* names) {
    GlobalUnlock(names->drop);
}
