// Browse and OK: choosing the output name, and the join itself.
#include "app/dialog.h"

#include <cstddef>
#include <commdlg.h>
#include <cstring>
#include <iterator>
#include <string>
#include <shellapi.h>

#include "app/texts.h"
#include "filelist/filelist.h"
#include "join/join.h"
#include "res/resource.h"
#include "text/buffer.h"
#include "text/path.h"

namespace {

constexpr UINT kTrayIconId = 1;
constexpr int kTrayIconSize = 16;

// The name field's folder opens the save dialog; its name part is the suggested file name.
// A name without a folder serves as both.
void BrowseWithName(HWND dialog, const char* typed) {
    PathBuffer folder;
    PathBuffer file;
    CopyBounded(folder, kPathBufferSize, typed);
    CopyBounded(file, kPathBufferSize, SplitFolderAndName(folder));
    OPENFILENAMEA request;
    ZeroFill(&request, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = kSaveDialogFilter;
    request.nFilterIndex = 0;
    request.lpstrFile = file;
    request.nMaxFile = kPathBufferSize;
    request.lpstrInitialDir = folder;
    request.lpstrTitle = kSaveDialogTitle;
    request.lpstrDefExt = nullptr;
    request.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    // Cancelled or failed: the field keeps what the user typed.
    if (GetSaveFileNameA(&request))
        SetDlgItemTextA(dialog, IDC_SAVENAME, file);
}

// The record is the first version's size: every system shows it, and the three fields used
// (icon, tip, callback message) are all it has. The macro gives 88 bytes on 32-bit Windows
// and the 64-bit layout's size there.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "first-version record");
constexpr int kFirstVersionTipSize = 64;
static_assert(offsetof(NOTIFYICONDATAA, szTip) + kFirstVersionTipSize == NOTIFYICONDATAA_V1_SIZE,
              "the tip is the first version's last field");
NOTIFYICONDATAA BusyIconRecord(HWND dialog) {
    NOTIFYICONDATAA record;
    ZeroFill(&record, sizeof record);
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = dialog;
    record.uID = kTrayIconId;
    return record;
}

// While the join runs the window is hidden; the icon shows that the program is at work.
HICON ShowBusyIcon(HWND dialog) {
    HICON icon =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY),
                                      IMAGE_ICON, kTrayIconSize, kTrayIconSize, 0));
    NOTIFYICONDATAA record = BusyIconRecord(dialog);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYNOTIFY;
    record.hIcon = icon;
    // The headers declare the later 128-byte tip, but a first-version record ends after 64.
    CopyBounded(record.szTip, kFirstVersionTipSize, kBusyTrayTip);
    Shell_NotifyIconA(NIM_ADD, &record);
    return icon;
}

void RemoveBusyIcon(HWND dialog, HICON icon) {
    NOTIFYICONDATAA record = BusyIconRecord(dialog);
    Shell_NotifyIconA(NIM_DELETE, &record);
    if (icon != nullptr)
        DestroyIcon(icon);
}

// The one message the program shows: a join that failed must not end as if it had succeeded.
// It names the output that could not be written, or the file that could not be read, and the
// system's reason. The window is back with everything as it was, so the user can fix what is
// wrong and press OK again; a previous output is still as it was.
void ReportFailedJoin(HWND dialog, const JoinFailure& failure, const char* shownName) {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    char reason[256];
    if (failure.kind == kJoinNameTooLong)
        CopyBounded(reason, sizeof reason, kReasonTooLong);
    else
        DescribeSystemError(failure.error, reason, sizeof reason);
    bool reading = failure.kind == kJoinEntryFailed;
    char message[kPathBufferSize + 512];
    PrintBounded(message, std::size(message), "%s%s%s\r\n%s", kFailedNameOpen,
                 reading ? failure.file : shownName, reading ? kReadFailedClose : kWriteFailedClose,
                 reason);
    MessageBoxA(dialog, message, kProgramName, MB_OK | MB_ICONWARNING);
    HWND field = GetDlgItem(dialog, IDC_SAVENAME);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

// The name field's text into the PathBuffer name; false when it does not fit whole, and name
// then holds as much as fits. The field takes names of any length, and a name cut to fit
// could be another file's.
bool ReadSaveName(HWND dialog, char* name) {
    HWND field = GetDlgItem(dialog, IDC_SAVENAME);
    // The length may count more bytes than the text has, never fewer.
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    GetWindowTextA(field, &text[0], static_cast<int>(text.size()));
    CopyBounded(name, kPathBufferSize, text.c_str());
    return std::strlen(text.c_str()) < static_cast<std::size_t>(kPathBufferSize);
}

} // namespace

// The save dialog shows what it was given, so a name too long is handed on as much as fits:
// the user sees it there before confirming anything.
void BrowseForSaveName(HWND dialog) {
    PathBuffer typed;
    ReadSaveName(dialog, typed);
    BrowseWithName(dialog, typed);
}

void RunJoin(HWND dialog) {
    PathBuffer name;
    JoinFailure failure;
    if (!ReadSaveName(dialog, name)) {
        // Refused before anything is opened; the message shows the name's start.
        char shown[kPathBufferSize + 2];
        PrintBounded(shown, sizeof shown, "%s%s", name, kEllipsis);
        failure.kind = kJoinNameTooLong;
        ReportFailedJoin(dialog, failure, shown);
        return;
    }
    JoinFormat format =
        IsDlgButtonChecked(dialog, IDC_FORMAT_HTML) == BST_CHECKED ? kJoinHtml : kJoinPlainText;
    ShowWindow(dialog, SW_HIDE);
    HICON icon = ShowBusyIcon(dialog);
    ListBoxCalls calls = ListBoxCallsOf(GetDlgItem(dialog, IDC_FILELIST));
    bool joined = JoinFiles(name, FileListOfListBox(calls), format, &failure);
    RemoveBusyIcon(dialog, icon);
    if (!joined) {
        ReportFailedJoin(dialog, failure, name);
        return;
    }
    EndDialog(dialog, IDOK);
}
