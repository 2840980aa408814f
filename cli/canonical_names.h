// The spelling the program's list gives each file, for a whole command line at once.
#pragma once

#include <string>
#include <vector>

// Replaces every name of an existing file by its canonical path; a name that has none
// (missing, or too long for the list) stays as typed.
void CanonicaliseNames(std::vector<std::string>& names);
