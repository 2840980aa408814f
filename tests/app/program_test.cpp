// The program itself, started as a user starts it: its settings file beside it, read at the
// start and written when the window closes, and its exit code.
#include <string>

#include "app/window_state.h"
#include "harness.h"
#include "res/resource.h"
#include "support/paths.h"

namespace {

struct Found {
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM data) {
    Found* found = reinterpret_cast<Found*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found->process || !IsWindowVisible(window) || TextOf(window) != "vellumor")
        return TRUE;
    found->window = window;
    return FALSE;
}

class RunningProgram {
  public:
    // arguments: the rest of the command line, as the shell quotes it.
    explicit RunningProgram(const std::string& exe, const std::string& arguments = "") {
        // As the desktop starts programs: with a show command for the first window.
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        std::string commandLine = "\"" + exe + "\" " + arguments;
        started_ = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != 0;
    }
    ~RunningProgram() {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    // The main window once it is up, or null after 20 s.
    HWND Window() {
        Found found{info_.dwProcessId, nullptr};
        for (int i = 0; i < 200 && started_ && found.window == nullptr; ++i) {
            EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&found));
            if (found.window == nullptr)
                Sleep(100);
        }
        return found.window;
    }
    // The exit code, or -1 when the program does not end within 20 s.
    int Wait() {
        if (!started_ || WaitForSingleObject(info_.hProcess, 20000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<int>(code);
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The entries of the program's list, read from outside: Wine carries list texts between
// processes as UTF-16 only.
std::vector<std::string> ListedEntries(HWND window) {
    HWND list = GetDlgItem(window, IDC_FILELIST);
    std::vector<std::string> entries;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[1024] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= 1024)
            return {"<too long>"};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[2048] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        entries.push_back(text);
    }
    return entries;
}

// Maximised within 5 s of being shown, and still so a second later.
bool StaysZoomed(HWND window) {
    for (int i = 0; i < 50 && !IsZoomed(window); ++i)
        Sleep(100);
    Sleep(1000);
    return IsZoomed(window) != 0;
}

// The names of the .ini files in a folder, as the file system spells them.
std::vector<std::string> IniFiles(const ScratchDir& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir / "*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(Program, KeepsItsSettingsInALowerCaseIniBesideItAndAppliesThemNextTime) {
    ScratchDir dir;
    std::string exe = dir / "Vellumor.EXE";
    ASSERT_TRUE(CopyFileA(WindowsPath(VELLUMOR_PROGRAM).c_str(), exe.c_str(), FALSE));

    RECT first{};
    {
        RunningProgram program(exe);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        GetWindowRect(window, &first);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.Wait(), 0);
    }
    EXPECT_EQ(IniFiles(dir), std::vector<std::string>{"vellumor.ini"});
    std::string ini = dir / "vellumor.ini";
    EXPECT_EQ(ReadWholeFile(ini), PlainWindowSettings(first));

    int width = RectWidth(first) + 60, height = RectHeight(first) + 30;
    std::string stored = SettingsText(
        {{kKeyTopmost, 1}, {kKeyMaximized, 1}, {kKeyHeight, height}, {kKeyWidth, width}});
    ASSERT_TRUE(WriteWholeFile(ini, stored));
    {
        RunningProgram program(exe);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        // Shown maximised however the program was started; the restored size it had is
        // what it writes back below.
        EXPECT_TRUE(StaysZoomed(window));
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.Wait(), 0);
    }
    EXPECT_EQ(ReadWholeFile(ini), stored);
}

// Started as "Send to" starts it: with one file it lists that file, and a pattern names none.
TEST(Program, ListsTheFilesItIsStartedWith) {
    ScratchDir dir;
    std::string exe = dir / "vellumor.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(VELLUMOR_PROGRAM).c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(MakeFolder(dir / "in"));
    std::string one = dir.Write("in\\a.txt", "a");
    dir.Write("in\\bc.txt", "bc");
    struct {
        std::string arguments;
        std::vector<std::string> listed;
    } cases[] = {
        {"\"" + one + "\"", {Canonical(one)}},
        {"\"" + dir / "in\\*.txt" + "\" \"" + dir / "in\\?.txt" + "\"", {}},
    };
    for (const auto& c : cases) {
        RunningProgram program(exe, c.arguments);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ListedEntries(window), c.listed) << c.arguments;
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.Wait(), 0);
    }
}

} // namespace
