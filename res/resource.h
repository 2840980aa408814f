// Identifiers shared by the resource script and the program.
#pragma once

#define IDD_MAIN 101

#define IDC_DRAGCURSOR 121
#define IDC_NODROPCURSOR 122
#define IDI_TRAY 123
#define IDR_SYSMENU 124
#define IDR_LISTMENU 125

// The program icon has the lowest icon id, so the shell shows it for the executable.
#define IDI_PROGRAM 1

#define IDC_FILELIST 1028
#define IDC_BROWSE 1044
#define IDC_SAVENAME 1045
#define IDC_FORMAT_TEXT 1046
#define IDC_FORMAT_HTML 1047
#define IDC_FORMAT_GROUP 1048

#define IDM_TOPMOST 40005
#define IDM_DELETE 40006

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
