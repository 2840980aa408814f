#include "support/drop.h"

#include <cstring>
#include <shlobj.h>

namespace {

// block: the name list in the drop's own encoding, each name ended by its NUL.
HDROP DropOfBlock(std::string block, bool wide) {
    block.append(wide ? sizeof(wchar_t) : 1, '\0');
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + block.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    std::memcpy(drop + 1, block.data(), block.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void AppendWide(std::string* block, const std::wstring& name) {
    block->append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
}

} // namespace

HDROP MakeDrop(const std::vector<std::string>& names, bool wide) {
    std::string block;
    for (const std::string& name : names) {
        if (!wide) {
            block.append(name.c_str(), name.size() + 1);
            continue;
        }
        wchar_t text[1024];
        if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, text, 1024) > 0)
            AppendWide(&block, text);
    }
    return DropOfBlock(block, wide);
}

HDROP MakeDrop(const std::vector<std::wstring>& names) {
    std::string block;
    for (const std::wstring& name : names)
        AppendWide(&block, name);
    return DropOfBlock(block, true);
}

bool PutDropOnClipboard(HWND owner, HDROP drop) {
    if (!OpenClipboard(owner))
        return false;
    bool put = EmptyClipboard() && SetClipboardData(CF_HDROP, drop) != nullptr;
    CloseClipboard();
    return put;
}
