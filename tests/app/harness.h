// Drives the real main dialog inside the test process: created from the linked resources with
// the program's own dialog procedure, fed real messages, its state read back.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "support/paths.h"
#include "support/scratch.h"

struct StartFiles;

// The settings file of this test program (the dialog's own rule, applied to this program).
std::string SettingsFile();

// Handles every message that is waiting, as a modeless dialog's loop would.
void PumpMessages(HWND dialog);

// Watches this thread for a window that a modal loop puts up (a message box, a popup menu,
// the save dialog) and hands it to act once. act must close what it was given, or the loop
// that showed it never returns.
class WindowWatcher {
  public:
    WindowWatcher(std::function<bool(HWND)> match, std::function<void(HWND)> act);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    int seen() const { return seen_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::function<bool(HWND)> match_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_;
    int seen_ = 0;
};

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// The message box's own text (its static with id 0xFFFF).
std::string MessageBoxText(HWND box);
bool IsMessageBoxOf(HWND window, HWND owner);
bool IsPopupMenu(HWND window);

// Runs the dialog modally as the program does; script runs inside the dialog's own loop once
// the dialog is up and must end it. Gives the dialog's result.
INT_PTR RunModalDialog(const std::function<void(HWND)>& script);

// A fresh dialog per test, with no settings file before and none left after.
class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the dialog (reading whatever settings file the test has written) and shows it;
    // with files, as the program does when it is started with them.
    HWND Open(const StartFiles* files = nullptr);
    // Destroys the dialog, which writes the settings file.
    void Close();

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    HWND List() const;
    // Files made in the scratch folder and added to the list as a drop would add them.
    std::vector<std::string> AddFiles(const std::vector<std::string>& names);
    std::vector<std::string> ListEntries() const;

    ScratchDir scratch_;
    HWND dialog_ = nullptr;
};

// The position and size of a control in its dialog's client coordinates.
RECT ControlRect(HWND control);
// The window rectangle, in screen coordinates.
RECT WindowRect(HWND window);
bool operator==(const RECT& a, const RECT& b);
std::ostream& operator<<(std::ostream& out, const RECT& r);

// The settings keys, as the Shift_JIS bytes the file holds.
extern const std::string kKeyTopmost;   // 常に最前面に表示
extern const std::string kKeyMaximized; // 最大化
extern const std::string kKeyHeight;    // 高さ
extern const std::string kKeyWidth;     // 幅

// One line of the settings file: a key and its value's text, as written or as a user left it.
struct SettingLine {
    SettingLine(std::string key, std::string value);
    SettingLine(std::string key, int value);
    std::string key;
    std::string value;
};
// The bytes of a settings file: the program's section, then each line in order, as the
// platform writes them.
std::string SettingsText(std::initializer_list<SettingLine> lines);
// What a run leaves for a window neither on top nor maximised: all four keys, in the order
// the dialog writes them.
std::string PlainWindowSettings(const RECT& window);
