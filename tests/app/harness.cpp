#include "harness.h"

#include <commctrl.h>
#include <iterator>
#include <map>
#include <ostream>

#include "app/dialog.h"
#include "app/settings.h"
#include "app/window_state.h"
#include "filelist/filelist.h"
#include "res/resource.h"
#include "text/buffer.h"

const std::string kKeyTopmost = "\x8f\xed\x82\xc9\x8d\xc5\x91\x4f\x96\xca\x82\xc9\x95\x5c\x8e\xa6";
const std::string kKeyMaximized = "\x8d\xc5\x91\xe5\x89\xbb";
const std::string kKeyHeight = "\x8d\x82\x82\xb3";
const std::string kKeyWidth = "\x95\x9d";

SettingLine::SettingLine(std::string key, std::string value)
    : key(std::move(key)), value(std::move(value)) {}
SettingLine::SettingLine(std::string key, int value)
    : key(std::move(key)), value(std::to_string(value)) {}

std::string SettingsText(std::initializer_list<SettingLine> lines) {
    std::string text = "[vellumor]\r\n";
    for (const SettingLine& line : lines)
        text += line.key + "=" + line.value + "\r\n";
    return text;
}

std::string PlainWindowSettings(const RECT& window) {
    return SettingsText({{kKeyTopmost, 0},
                         {kKeyMaximized, 0},
                         {kKeyHeight, RectHeight(window)},
                         {kKeyWidth, RectWidth(window)}});
}

std::string SettingsFile() {
    PathBuffer path;
    if (!GetSettingsPath(path))
        ADD_FAILURE() << "no settings path";
    return path;
}

void PumpMessages(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

namespace {
std::map<UINT_PTR, WindowWatcher*>& Watchers() {
    static std::map<UINT_PTR, WindowWatcher*> watchers;
    return watchers;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&found));
    // Popup menus belong to the desktop's list too; look at every top-level window.
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}
} // namespace

WindowWatcher::WindowWatcher(std::function<bool(HWND)> match, std::function<void(HWND)> act)
    : match_(std::move(match)), act_(std::move(act)) {
    timer_ = SetTimer(nullptr, 0, 50, Tick);
    Watchers()[timer_] = this;
}

WindowWatcher::~WindowWatcher() {
    KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

void CALLBACK WindowWatcher::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Watchers().find(id);
    if (it == Watchers().end())
        return;
    WindowWatcher* self = it->second;
    for (HWND window : ThreadWindows()) {
        if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() ||
            !IsWindowVisible(window) || !self->match_(window))
            continue;
        ++self->seen_;
        self->act_(window);
        return;
    }
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, std::size(name));
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, std::size(text));
    return text;
}

std::string MessageBoxText(HWND box) {
    char text[2048] = "";
    GetDlgItemTextA(box, 0xFFFF, text, std::size(text));
    return text;
}

bool IsMessageBoxOf(HWND window, HWND owner) {
    return ClassOf(window) == "#32770" && GetWindow(window, GW_OWNER) == owner;
}

bool IsPopupMenu(HWND window) {
    return ClassOf(window) == "#32768";
}

namespace {
bool IsMainDialog(HWND window) {
    return ClassOf(window) == "#32770" && GetDlgItem(window, IDC_FILELIST) != nullptr;
}
} // namespace

INT_PTR RunModalDialog(const std::function<void(HWND)>& script) {
    bool started = false;
    WindowWatcher start(IsMainDialog, [&](HWND dialog) {
        if (started)
            return;
        started = true;
        script(dialog);
    });
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                           MainDialogProc, 0);
}

void DialogTest::SetUp() {
    InitCommonControls();
    DeleteFileA(SettingsFile().c_str());
}

void DialogTest::TearDown() {
    Close();
    DeleteFileA(SettingsFile().c_str());
}

HWND DialogTest::Open(const StartFiles* files) {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                 MainDialogProc, reinterpret_cast<LPARAM>(files));
    EXPECT_NE(dialog_, nullptr);
    ShowWindow(dialog_, SW_SHOW);
    PumpMessages(dialog_);
    return dialog_;
}

void DialogTest::Close() {
    if (dialog_ != nullptr && IsWindow(dialog_))
        DestroyWindow(dialog_);
    dialog_ = nullptr;
    PumpMessages(nullptr);
}

HWND DialogTest::List() const {
    return Item(IDC_FILELIST);
}

std::vector<std::string> DialogTest::AddFiles(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(scratch_.Write(name, name + " content\r\n"));
        EXPECT_TRUE(AddFileToList(paths.back().c_str(), List())) << name;
    }
    return paths;
}

std::vector<std::string> DialogTest::ListEntries() const {
    std::vector<std::string> entries;
    int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        PathBuffer text = "";
        SendMessageA(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

RECT ControlRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
