// The program: one dialog, run modally; it ends when the dialog does. The files it is started
// with ("Send to", a drop on its icon) are the first entries of the list.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/dialog.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Loads the common controls of the manifest (visual styles, the list's drag helper).
    InitCommonControls();
    // Split as the shell quotes it. The names are read wide, so that one the ANSI code page
    // cannot hold is known as such, not taken for the name of some other file.
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    StartFiles files{nullptr, 0};
    if (argv != nullptr && argc > 1)
        files = StartFiles{argv + 1, argc - 1}; // argv[0] is the program
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                    reinterpret_cast<LPARAM>(&files));
    LocalFree(argv);
    return 0;
}
