#include <windows.h>
#include <shlobj.h>

#include "canonical/canonical.h"

// The shell's parse through the desktop folder yields the stored spelling of every part
// (letter case, long names). It resolves neither "." and ".." parts nor relative names
// everywhere, so the path is made absolute and normalised first.
bool GetCanonicalPath(char* out, const char* path) {
    PathBuffer full;
    DWORD length = GetFullPathNameA(path, kPathBufferSize, full, nullptr);
    out[0] = '\0';
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize))
        return false;

    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)))
        return false;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        allocator->Release();
        return false;
    }
    WCHAR wide[MAX_PATH];
    LPITEMIDLIST items = nullptr;
    bool ok =
        MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH) != 0 &&
        SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &items, nullptr));
    if (ok) {
        static_assert(MAX_PATH < kPathBufferSize, "a shell path always fits a PathBuffer");
        char printed[MAX_PATH];
        ok = SHGetPathFromIDListA(items, printed) != FALSE;
        if (ok)
            CopyBounded(out, kPathBufferSize, printed);
        allocator->Free(items);
    }
    desktop->Release();
    allocator->Release();
    return ok;
}
