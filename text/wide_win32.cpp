#include "text/wide_win32.h"

#include <windows.h>

#include "text/buffer.h"

bool WideToShiftJis(const wchar_t* wide, std::string& text) {
    text.clear();
    int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    text.resize(static_cast<std::size_t>(size));
    BOOL inexact = FALSE;
    int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, &text[0], size,
                                      nullptr, &inexact);
    text.resize(written > 0 ? static_cast<std::size_t>(written) - 1 : 0);
    return written > 0 && !inexact;
}

bool WideToPath(const wchar_t* wide, char* path) {
    std::string text;
    if (WideToShiftJis(wide, text) && CopyWholePath(path, text.c_str()))
        return true;
    path[0] = '\0';
    return false;
}

std::wstring ShiftJisToWide(const char* text, int size) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, size, &wide[0], length);
    // A NUL-ended text's own NUL is the string's.
    if (size < 0)
        wide.pop_back();
    return wide;
}
