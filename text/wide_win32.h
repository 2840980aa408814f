// The one way from the system's wide text to the program's Shift_JIS, and back for the wide
// calls. A name the code page cannot hold exactly is refused, never taken by its nearest
// spelling: café would be cafe, another file; ¥ would be a backslash, another folder.
#pragma once

#include <string>

// Converts wide (NUL-ended) exactly. False when a character has no exact Shift_JIS spelling;
// text then holds the name with ? for each such character, fit to be shown and never to be
// opened.
bool WideToShiftJis(const wchar_t* wide, std::string& text);

// The same into the PathBuffer path; false (and path empty) when it is not exact or does not
// fit whole.
bool WideToPath(const wchar_t* wide, char* path);

// Shift_JIS text for a wide call: up to its NUL, or `size` bytes NULs included (a filter's
// pairs); empty when the bytes cannot be converted.
std::wstring ShiftJisToWide(const char* text, int size = -1);
