// Copies files as the Windows shell's Copy does: a UTF-16 drop of their names on the
// clipboard, which keeps it after this program has ended. The end-to-end test pastes it.
//
// usage: put_files_on_clipboard FILE...   exit status 0 when the clipboard took the drop
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "support/drop.h"

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2)
        return 2;
    std::vector<std::wstring> names(argv + 1, argv + argc);
    LocalFree(argv);
    // The clipboard takes data only from an owner window; one that never shows will do.
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    bool put = owner != nullptr && PutDropOnClipboard(owner, MakeDrop(names));
    if (owner != nullptr)
        DestroyWindow(owner);
    return put ? 0 : 1;
}
