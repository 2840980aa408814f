// The settings file: whether the window stays on top, whether it was maximised and its
// restored size, kept in an INI file beside the program (section "vellumor"). Read once when
// the dialog starts, written once when it is destroyed.
#pragma once

#include <windows.h>

struct WindowSettings {
    bool topmost;
    bool maximized;
    int width; // window rectangle, frame included, in pixels
    int height;
};

// The INI path for a program file: its extension replaced by ".ini", folded to lower case
// (ASCII letters only), at most 521 bytes. buffer is a PathBuffer.
void SettingsPathOf(const char* moduleFileName, char* buffer);
// The INI path of this program; false when its own file name cannot be read.
bool GetSettingsPath(char* buffer);

// One key of the section, or the default when its value does not start with a number.
bool ReadSettingBool(const char* key, const char* iniPath, bool fallback);
int ReadSettingInt(const char* key, const char* iniPath, int fallback);
// One key, written as a decimal number (a Boolean as 1 or 0); true when it was stored.
bool WriteSettingBool(const char* key, const char* iniPath, bool value);
bool WriteSettingInt(const char* key, const char* iniPath, int value);

// Replaces each field of settings (which holds the defaults) that the file supplies.
void LoadWindowSettings(WindowSettings* settings);
void LoadWindowSettingsFrom(const char* iniPath, WindowSettings* settings);
// Writes the window's current state: on top, maximised, restored height and width.
void SaveWindowSettings(HWND dialog);
void SaveWindowSettingsTo(HWND dialog, const char* iniPath);
