// The main window: a resizable dialog that holds the file list, the output name and format,
// and runs the join on OK.
#pragma once

#include <windows.h>

// The notification-area icon's callback message. Nothing handles it: the icon only shows
// that a join is running while the window is hidden.
#define WM_TRAYNOTIFY (WM_APP + 1)

// What the dialog may be created with (its creation parameter, or none): the files the
// program was started with, as the command line holds them.
struct StartFiles {
    const wchar_t* const* names;
    int count;
};

// The dialog procedure of IDD_MAIN.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Commands (commands.cpp).
void BrowseForSaveName(HWND dialog);
// Runs the join and ends the dialog; when the output cannot be written, shows the window
// again as it was and says so.
void RunJoin(HWND dialog);
