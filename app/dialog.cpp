// The dialog procedure, message by message, and the start sequence.
#include "app/dialog.h"

#include <shellapi.h>
#include <windowsx.h>

#include "app/geometry.h"
#include "app/settings.h"
#include "app/texts.h"
#include "app/window_state.h"
#include "ddlb/ddlb.h"
#include "filelist/filelist.h"
#include "res/resource.h"
#include "text/buffer.h"

namespace {

// Posted to itself once the window is on screen, to show it maximised.
constexpr UINT kShowMaximized = WM_APP + 2;

// The stored maximised state waits until the window is first shown. Maximising a window
// that is not yet on screen does not last: the first ShowWindow of a program may be replaced
// by the show command it was started with, and under Wine without a window manager the
// mapping of the window undoes it.
bool g_maximizeWhenShown = false;

HWND FileListBox(HWND dialog) {
    return GetDlgItem(dialog, IDC_FILELIST);
}

// --- Start sequence.

// The program's own name is asked for and handed on in wide text: it is never Shift_JIS the
// program handles, and a folder such as José's must not turn into Jose's.
void SetProgramIcons(HWND dialog) {
    WCHAR program[kPathBufferSize];
    DWORD length = GetModuleFileNameW(nullptr, program, kPathBufferSize);
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize))
        return;
    SHFILEINFOW info;
    ZeroFill(&info, sizeof info);
    if (SHGetFileInfoW(program, 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON))
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(info.hIcon));
    ZeroFill(&info, sizeof info);
    if (SHGetFileInfoW(program, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(info.hIcon));
}

// OK needs an output name.
void UpdateOkButton(HWND dialog) {
    BOOL named = GetWindowTextLengthA(GetDlgItem(dialog, IDC_SAVENAME)) > 0;
    EnableWindow(GetDlgItem(dialog, IDOK), named);
}

void ClearSaveName(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_SAVENAME, "");
    // Setting the text to what it already is need not send EN_CHANGE; OK must start disabled.
    UpdateOkButton(dialog);
}

void AttachFileList(HWND dialog) {
    HWND list = FileListBox(dialog);
    AttachDragDropListBox(list);
    DragAcceptFiles(list, TRUE);
}

// Taken as one drop of those names would be.
void AddStartFiles(HWND dialog, const StartFiles* files) {
    if (files != nullptr && files->count > 0)
        AddFilesByWideName(FileListBox(dialog), files->names, files->count);
}

// The item goes right after "Maximise", where window commands are looked for.
void AddTopmostToSystemMenu(HWND dialog) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (GetMenuItemID(menu, position) == SC_MAXIMIZE)
            InsertMenuA(menu, position + 1, MF_BYPOSITION | MF_STRING, IDM_TOPMOST,
                        kTopmostMenuText);
    }
}

// The stored size is applied to a window whose minimum (the template size) is already
// recorded, so a stored size below it cannot shrink the window.
void ApplyStoredSettings(HWND dialog) {
    SIZE templateSize = TemplateWindowSize();
    WindowSettings settings{false, false, templateSize.cx, templateSize.cy};
    LoadWindowSettings(&settings);
    SetTopmost(dialog, settings.topmost);
    ResizeWindowTo(dialog, settings.width, settings.height);
    PlaceNearCursor(dialog);
    g_maximizeWhenShown = settings.maximized;
}

BOOL OnInitDialog(HWND dialog, const StartFiles* files) {
    SetProgramIcons(dialog);
    RecordTemplateSize(dialog);
    PlaceNearCursor(dialog);
    ClearSaveName(dialog);
    AttachFileList(dialog);
    AddStartFiles(dialog, files);
    CheckRadioButton(dialog, IDC_FORMAT_TEXT, IDC_FORMAT_HTML, IDC_FORMAT_TEXT);
    AddTopmostToSystemMenu(dialog);
    ApplyStoredSettings(dialog);
    return TRUE;
}

// --- The list's notifications.

BOOL AnswerDragCursor(HWND dialog, const DDLBNOTIFY* record) {
    int cursor = record->to >= 0 ? IDC_DRAGCURSOR : IDC_NODROPCURSOR;
    HCURSOR handle = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(cursor));
    return SetDlgMsgResult(dialog, WM_NOTIFY, reinterpret_cast<LONG_PTR>(handle));
}

void ShowListMenu(HWND dialog, HWND list) {
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0)
        return;
    POINT at;
    if (!GetCursorPos(&at))
        return;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LISTMENU));
    if (menu == nullptr)
        return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(dialog);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
    DestroyMenu(menu);
}

// The control acts on a record only when it comes back to it: this is how the parent asks
// for the default action (delete, move, the context menu request). The control reads the
// answer (to a drag request, for one) as the dialog's message result.
BOOL SendBackToList(HWND dialog, DDLBNOTIFY* record) {
    LRESULT answer =
        SendMessageA(record->hwndFrom, WM_NOTIFY, record->idFrom, reinterpret_cast<LPARAM>(record));
    return SetDlgMsgResult(dialog, WM_NOTIFY, answer);
}

bool IsKeyDown(int key) {
    return GetKeyState(key) < 0;
}

// Ctrl+V, and Shift+Insert from the older convention; Ctrl+Insert is copy, not paste.
bool IsPasteKey(WPARAM key) {
    bool control = IsKeyDown(VK_CONTROL), shift = IsKeyDown(VK_SHIFT);
    return (key == 'V' && control && !shift) || (key == VK_INSERT && shift && !control);
}

// The shell's Copy of files leaves a drop on the clipboard; anything else there is no file.
// The handle stays the clipboard's: the drop is read, never released.
void PasteFiles(HWND dialog, HWND list) {
    if (!IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(dialog))
        return;
    HANDLE drop = GetClipboardData(CF_HDROP);
    if (drop != nullptr)
        AddFilesOfDrop(list, static_cast<HDROP>(drop));
    CloseClipboard();
}

// Paste is the dialog's; every other key goes back to the list for its default action.
BOOL OnListKey(HWND dialog, DDLBNOTIFY* record) {
    if (!IsPasteKey(record->wParam))
        return SendBackToList(dialog, record);
    PasteFiles(dialog, record->hwndFrom);
    return FALSE;
}

BOOL OnListNotify(HWND dialog, DDLBNOTIFY* record) {
    switch (record->code) {
    case DDLBN_KEYDOWN:
        return OnListKey(dialog, record);
    case DDLBN_DRAGCURSOR:
        return AnswerDragCursor(dialog, record);
    case DDLBN_DROPFILES:
        AddDroppedFiles(record->hwndFrom, reinterpret_cast<HDROP>(record->wParam));
        return FALSE;
    case DDLBN_CONTEXTMENU:
        ShowListMenu(dialog, record->hwndFrom);
        return FALSE;
    default:
        return SendBackToList(dialog, record);
    }
}

BOOL OnNotify(HWND dialog, LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->idFrom != IDC_FILELIST)
        return FALSE;
    return OnListNotify(dialog, reinterpret_cast<DDLBNOTIFY*>(lParam));
}

// --- Commands.

BOOL OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDOK:
        RunJoin(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_BROWSE:
        BrowseForSaveName(dialog);
        break;
    case IDC_SAVENAME:
        if (code == EN_CHANGE)
            UpdateOkButton(dialog);
        break;
    case IDM_DELETE:
        DeleteSelectedEntry(FileListBox(dialog));
        break;
    }
    return FALSE;
}

BOOL OnSysCommand(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) != IDM_TOPMOST)
        return FALSE; // the system's own commands
    SetTopmost(dialog, !IsTopmost(dialog));
    return TRUE;
}

// The state lives in the window's style alone, so the mark is read afresh for every menu.
BOOL OnInitMenuPopup(HWND dialog) {
    UINT mark = IsTopmost(dialog) ? MF_CHECKED : MF_UNCHECKED;
    CheckMenuItem(GetSystemMenu(dialog, FALSE), IDM_TOPMOST, MF_BYCOMMAND | mark);
    return TRUE;
}

BOOL OnShowWindow(HWND dialog, BOOL shown) {
    if (shown && g_maximizeWhenShown) {
        g_maximizeWhenShown = false;
        PostMessageA(dialog, kShowMaximized, 0, 0);
    }
    return FALSE;
}

BOOL OnShowMaximized(HWND dialog) {
    ShowWindow(dialog, SW_SHOWMAXIMIZED);
    return TRUE;
}

// A restored rectangle that cannot be read is all zero, a size the save leaves out.
WindowSettings CurrentWindowSettings(HWND dialog) {
    RECT restored;
    GetRestoredRect(dialog, &restored);
    return WindowSettings{IsTopmost(dialog), IsZoomed(dialog) != 0, RectWidth(restored),
                          RectHeight(restored)};
}

BOOL OnDestroy(HWND dialog) {
    SaveWindowSettings(CurrentWindowSettings(dialog));
    return TRUE;
}

} // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<const StartFiles*>(lParam));
    case WM_DESTROY:
        return OnDestroy(dialog);
    case WM_SIZE:
        LayoutOnSize(dialog, wParam, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        FillMinTrackSize(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_NCHITTEST:
        return HitTestAsCaption(dialog, wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(dialog, lParam);
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
        return OnSysCommand(dialog, wParam);
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(dialog);
    case WM_SHOWWINDOW:
        return OnShowWindow(dialog, static_cast<BOOL>(wParam));
    case kShowMaximized:
        return OnShowMaximized(dialog);
    default:
        return FALSE;
    }
}
