// The names of a list file (@LIST): one per line, LF or CR LF, blank lines left out.
#pragma once

#include <string>
#include <vector>

// Without a byte-order mark the bytes are the system's names as they stand (Shift_JIS on
// Windows). With a UTF-8 or a UTF-16 LE mark (what Notepad writes) the text is Unicode, and
// each name is converted exactly; a name that cannot be goes to `refused`, shown with ?.
void AddListedNames(const std::string& bytes, std::vector<std::string>& names,
                    std::vector<std::string>& refused);
