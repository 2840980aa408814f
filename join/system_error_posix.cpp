#include "join/system_error.h"

#include <cstring>

#include "text/buffer.h"

void DescribeSystemError(unsigned long error, char* text, int size) {
    PrintBounded(text, size, "%s", std::strerror(static_cast<int>(error)));
}
