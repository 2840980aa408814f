// The settings file: whether the window stays on top, whether it was maximised and its
// restored size, kept in an INI file beside the program (section "vellumor"). Read once when
// the dialog starts, written once when it is destroyed.
#pragma once

// What the file keeps. The load starts from the defaults and replaces what the file supplies;
// the save writes what the dialog read from its window.
struct WindowSettings {
    bool topmost;
    bool maximized;
    int width; // the restored window rectangle, frame included, in pixels
    int height;
};

// The INI path for a program file: its extension replaced by ".ini", folded to lower case
// (ASCII letters only). buffer is a PathBuffer; false (and buffer empty) when that name does
// not fit one.
bool SettingsPathOf(const char* moduleFileName, char* buffer);
// The INI path of this program; false when its own file name cannot be read whole.
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
// Writes on top, maximised, height and width, in that order. A size of 0 by 0 is what a
// restored rectangle that cannot be read gives: it is left out, and the file keeps the last
// good one.
void SaveWindowSettings(const WindowSettings& settings);
void SaveWindowSettingsTo(const char* iniPath, const WindowSettings& settings);
