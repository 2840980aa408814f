#include "support/drop.h"

#include <cstring>
#include <shlobj.h>

HDROP MakeDrop(const std::vector<std::string>& names, bool wide) {
    std::string block; // the name list, in the drop's own encoding
    for (const std::string& name : names) {
        if (!wide) {
            block.append(name.c_str(), name.size() + 1);
            continue;
        }
        wchar_t text[1024];
        int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, text, 1024);
        block.append(reinterpret_cast<const char*>(text), length * sizeof(wchar_t));
    }
    block.append(wide ? sizeof(wchar_t) : 1, '\0');
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + block.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    std::memcpy(drop + 1, block.data(), block.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
