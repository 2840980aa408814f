// The system's own words for why something failed.
#pragma once

// The text of a system error code (errno on POSIX, GetLastError on Windows), in the user's
// language where the system has it, into a buffer of size bytes.
void DescribeSystemError(unsigned long error, char* text, int size);
