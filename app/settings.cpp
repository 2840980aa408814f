#include "app/settings.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <windows.h>

#include "text/buffer.h"
#include "text/path.h"
#include "text/wide_win32.h"
#include "text/sjis.h"

namespace {

constexpr char kSection[] = "vellumor";

// The keys are Shift_JIS byte strings and go to the ANSI functions unchanged. The last
// character of the first, 0x95 0x5C, ends in a byte that only looks like a backslash.
constexpr char kKeyTopmost[] =
    "\x8f\xed\x82\xc9\x8d\xc5\x91\x4f\x96\xca\x82\xc9\x95\x5c\x8e\xa6"; // 常に最前面に表示
constexpr char kKeyMaximized[] = "\x8d\xc5\x91\xe5\x89\xbb";            // 最大化
constexpr char kKeyHeight[] = "\x8d\x82\x82\xb3";                       // 高さ
constexpr char kKeyWidth[] = "\x95\x9d";                                // 幅

constexpr int kReadSize = 1024;
constexpr int kWriteSize = 256;

// Reads a number as "%d" does (white space, an optional sign, digits, anything after them
// ignored), except that a number too large for an int saturates instead of being undefined.
bool ScanInt(const char* text, int* value) {
    char* end = nullptr;
    long long scanned = std::strtoll(text, &end, 10);
    if (end == text)
        return false;
    if (scanned > INT_MAX)
        scanned = INT_MAX;
    if (scanned < INT_MIN)
        scanned = INT_MIN;
    *value = static_cast<int>(scanned);
    return true;
}

bool ReadSettingNumber(const char* key, const char* iniPath, int* value) {
    char text[kReadSize];
    GetPrivateProfileStringA(kSection, key, "", text, kReadSize - 1, iniPath);
    return ScanInt(text, value);
}

} // namespace

bool SettingsPathOf(const char* moduleFileName, char* buffer) {
    PathBuffer program;
    // A settings name cut to fit would be some other file beside the program.
    if (!CopyWholePath(program, moduleFileName))
        return false;
    StripExtension(program);
    if (PrintBounded(buffer, kPathBufferSize, "%s.ini", program) < 0) {
        buffer[0] = '\0';
        return false;
    }
    ToLowerInPlace(buffer);
    return true;
}

bool GetSettingsPath(char* buffer) {
    WCHAR wide[kPathBufferSize];
    PathBuffer module;
    DWORD length = GetModuleFileNameW(GetModuleHandleA(nullptr), wide, kPathBufferSize);
    // A name cut short by the buffer would point beside the program, and one spelt by its
    // nearest Shift_JIS (José as Jose) into another folder: then no settings are kept.
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize) || !WideToPath(wide, module))
        return false;
    return SettingsPathOf(module, buffer);
}

bool ReadSettingBool(const char* key, const char* iniPath, bool fallback) {
    int value;
    return ReadSettingNumber(key, iniPath, &value) ? value != 0 : fallback;
}

int ReadSettingInt(const char* key, const char* iniPath, int fallback) {
    int value;
    return ReadSettingNumber(key, iniPath, &value) ? value : fallback;
}

bool WriteSettingInt(const char* key, const char* iniPath, int value) {
    char text[kWriteSize];
    PrintBounded(text, kWriteSize - 1, "%d", value);
    text[kWriteSize - 1] = '\0';
    return WritePrivateProfileStringA(kSection, key, text, iniPath) != 0;
}

bool WriteSettingBool(const char* key, const char* iniPath, bool value) {
    return WriteSettingInt(key, iniPath, value ? 1 : 0);
}

void LoadWindowSettingsFrom(const char* iniPath, WindowSettings* settings) {
    settings->topmost = ReadSettingBool(kKeyTopmost, iniPath, settings->topmost);
    settings->maximized = ReadSettingBool(kKeyMaximized, iniPath, settings->maximized);
    settings->height = ReadSettingInt(kKeyHeight, iniPath, settings->height);
    settings->width = ReadSettingInt(kKeyWidth, iniPath, settings->width);
}

void LoadWindowSettings(WindowSettings* settings) {
    PathBuffer iniPath;
    if (GetSettingsPath(iniPath))
        LoadWindowSettingsFrom(iniPath, settings);
}

void SaveWindowSettingsTo(const char* iniPath, const WindowSettings& settings) {
    // Each write stands alone: one that fails does not keep the others from the file.
    WriteSettingBool(kKeyTopmost, iniPath, settings.topmost);
    WriteSettingBool(kKeyMaximized, iniPath, settings.maximized);
    // Stored, 0 by 0 would open the next window at its smallest.
    if (settings.width != 0 || settings.height != 0) {
        WriteSettingInt(kKeyHeight, iniPath, settings.height);
        WriteSettingInt(kKeyWidth, iniPath, settings.width);
    }
}

void SaveWindowSettings(const WindowSettings& settings) {
    PathBuffer iniPath;
    if (GetSettingsPath(iniPath))
        SaveWindowSettingsTo(iniPath, settings);
}
