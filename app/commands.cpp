// Browse and OK: choosing the output name, and the join itself.
#include "app/dialog.h"

#include <cstddef>
#include <commdlg.h>
#include <cwchar>
#include <string>
#include <shellapi.h>

#include "app/texts.h"
#include "filelist/filelist.h"
#include "join/join.h"
#include "join/system_error.h"
#include "res/resource.h"
#include "text/buffer.h"
#include "text/path.h"
#include "text/wide_win32.h"

namespace {

constexpr UINT kTrayIconId = 1;
constexpr int kTrayIconSize = 16;

// The name field's folder opens the save dialog; its name part is the suggested file name.
// A name without a folder serves as both. The wide dialog hands back exactly what the user
// chose, which the field then holds; a name Shift_JIS cannot hold is refused at OK, where
// the user sees why.
void BrowseWithName(HWND dialog, WCHAR* folder) {
    WCHAR file[kPathBufferSize];
    WCHAR* name = std::wcsrchr(folder, L'\\');
    if (name != nullptr)
        *name++ = L'\0';
    lstrcpynW(file, name != nullptr ? name : folder, kPathBufferSize);
    // The filter's NULs included.
    std::wstring filter = ShiftJisToWide(kSaveDialogFilter, sizeof kSaveDialogFilter);
    std::wstring title = ShiftJisToWide(kSaveDialogTitle);
    OPENFILENAMEW request;
    ZeroFill(&request, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 0;
    request.lpstrFile = file;
    request.nMaxFile = kPathBufferSize;
    request.lpstrInitialDir = folder;
    request.lpstrTitle = title.c_str();
    request.lpstrDefExt = nullptr;
    request.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    // Cancelled or failed: the field keeps what the user typed.
    if (GetSaveFileNameW(&request))
        SetDlgItemTextW(dialog, IDC_SAVENAME, file);
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

// A message with the window back as it was, the name field focused: the user can fix what is
// wrong and press OK again.
void ShowProblem(HWND dialog, const std::string& message) {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    MessageBoxA(dialog, message.c_str(), kProgramName, MB_OK | MB_ICONWARNING);
    HWND field = GetDlgItem(dialog, IDC_SAVENAME);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

std::string SystemReason(unsigned long error) {
    char reason[256];
    DescribeSystemError(error, reason, sizeof reason);
    return reason;
}

// The files a join leaves out, as the lines of the message that names them: at most a
// screenful, then how many more.
struct LeftOut {
    std::string lines;
    int count = 0;
};
constexpr int kLeftOutShown = 20;

void NoteLeftOut(void* listener, int, const char* path, JoinSkip why, unsigned long error) {
    static const char* const kWhy[] = {kLeftOutMissing, kLeftOutIsOutput, kLeftOutUnreadable,
                                       kLeftOutNotAFile};
    LeftOut& left = *static_cast<LeftOut*>(listener);
    if (++left.count > kLeftOutShown)
        return;
    left.lines += std::string("\r\n") + kFailedNameOpen + path + kWhy[why];
    if (error != 0)
        left.lines += SystemReason(error);
}

std::string LeftOutText(const LeftOut& left) {
    std::string text = kLeftOutHeading + left.lines;
    if (left.count > kLeftOutShown) {
        char more[64];
        PrintBounded(more, sizeof more, kLeftOutMore, left.count - kLeftOutShown);
        text += std::string("\r\n") + more;
    }
    return text;
}

// A join that failed must not end as if it had succeeded. The message names the output that
// could not be written, or the file that could not be read, and the system's reason; a join
// that joined nothing says so in the program's own words. A previous output is as it was.
void ReportFailedJoin(HWND dialog, const JoinFailure& failure, const char* name,
                      const LeftOut& left) {
    const char* file = failure.kind == kJoinEntryFailed ? failure.file : name;
    const char* close = failure.kind == kJoinEntryFailed     ? kReadFailedClose
                        : failure.kind == kJoinNothingJoined ? kLeftAsItWasClose
                                                             : kWriteFailedClose;
    std::string reason = failure.kind == kJoinNothingJoined ? kNothingJoined
                         : failure.kind == kJoinNameTooLong ? kReasonTooLong
                                                            : SystemReason(failure.error);
    std::string message = kFailedNameOpen + std::string(file) + close + "\r\n" + reason;
    if (failure.leftBehind[0] != '\0')
        message += std::string("\r\n") + kFailedNameOpen + failure.leftBehind + kNotRemovedClose;
    if (left.count > 0)
        message += "\r\n\r\n" + LeftOutText(left);
    ShowProblem(dialog, message);
}

// A name refused before anything is opened, with the part of it that can be shown.
void RefuseName(HWND dialog, const std::string& shown, const char* reason) {
    ShowProblem(dialog, kFailedNameOpen + shown + kWriteFailedClose + "\r\n" + reason);
}

enum SaveName { kSaveNameRead, kSaveNameTooLong, kSaveNameNotShiftJis };

// The name field's text, read as the system holds it, into the PathBuffer name: exactly and
// whole, or refused. The field takes names of any length and any character, and a name cut to
// fit, or spelt by its nearest Shift_JIS (café as cafe), could be another file's. shown is
// what a message can show of it.
SaveName ReadSaveName(HWND dialog, char* name, std::string& shown) {
    HWND field = GetDlgItem(dialog, IDC_SAVENAME);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    GetWindowTextW(field, &text[0], static_cast<int>(text.size()));
    bool exact = WideToShiftJis(text.c_str(), shown);
    if (exact && CopyWholePath(name, shown.c_str()))
        return kSaveNameRead;
    if (!exact)
        return kSaveNameNotShiftJis;
    CopyBounded(name, kPathBufferSize, shown.c_str());
    shown = name + std::string(kEllipsis); // the message shows the name's start
    return kSaveNameTooLong;
}

} // namespace

// The save dialog shows what it was given, so a name too long is handed on as much as fits:
// the user sees it there before confirming anything.
void BrowseForSaveName(HWND dialog) {
    WCHAR typed[kPathBufferSize];
    GetDlgItemTextW(dialog, IDC_SAVENAME, typed, kPathBufferSize);
    BrowseWithName(dialog, typed);
}

void RunJoin(HWND dialog) {
    PathBuffer name;
    std::string shown;
    SaveName read = ReadSaveName(dialog, name, shown);
    if (read != kSaveNameRead) {
        RefuseName(dialog, shown, read == kSaveNameTooLong ? kReasonTooLong : kReasonNotShiftJis);
        return;
    }
    JoinFormat format =
        IsDlgButtonChecked(dialog, IDC_FORMAT_HTML) == BST_CHECKED ? kJoinHtml : kJoinPlainText;
    ShowWindow(dialog, SW_HIDE);
    HICON icon = ShowBusyIcon(dialog);
    ListBoxCalls calls = ListBoxCallsOf(GetDlgItem(dialog, IDC_FILELIST));
    FileList list = FileListOfListBox(calls);
    LeftOut left;
    list.skipped = NoteLeftOut;
    list.listener = &left;
    JoinFailure failure;
    // A join that joins no file keeps the previous output, as a failure does.
    bool joined = JoinFiles(name, list, format, &failure);
    RemoveBusyIcon(dialog, icon);
    if (!joined) {
        ReportFailedJoin(dialog, failure, name, left);
        return;
    }
    // The join is done; what it left out is named before the program ends.
    if (left.count > 0)
        MessageBoxA(dialog, LeftOutText(left).c_str(), kProgramName, MB_OK | MB_ICONWARNING);
    EndDialog(dialog, IDOK);
}
