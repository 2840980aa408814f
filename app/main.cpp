// The program: one dialog, run modally; it ends when the dialog does.
#include <windows.h>
#include <commctrl.h>

#include "app/dialog.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Loads the common controls of the manifest (visual styles, the list's drag helper).
    InitCommonControls();
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    return 0;
}
