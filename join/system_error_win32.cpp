#include "join/system_error.h"

#include <windows.h>

#include "text/buffer.h"

// The line end the system closes its text with is left off.
void DescribeSystemError(unsigned long error, char* text, int size) {
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, static_cast<DWORD>(size), nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
        --length;
    if (length == 0)
        PrintBounded(text, size, "error %lu", error);
    else
        text[length] = '\0';
}
