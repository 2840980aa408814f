// Test support: failures of the system under the join's own reads and writes, made by the
// fault library preloaded into the test programs (fault_shim.c). A file whose path holds
// FailReadAfter(n) fails to be read once n of its bytes are read; a file in a folder whose name
// holds FailWriteAfter(n), the output's new file beside it included, fails to be written once
// n bytes are in it. The bytes before go through, as on a disk that fails part-way.
#pragma once

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <windows.h>
// What Wine makes of the Linux errors ENOSPC and EIO.
constexpr unsigned long kDiskFull = ERROR_DISK_FULL, kReadFault = ERROR_NOT_READY;
#else
constexpr unsigned long kDiskFull = ENOSPC, kReadFault = EIO;
#endif

inline std::string FailReadAfter(std::size_t n) {
    return "fail-read-" + std::to_string(n);
}
inline std::string FailWriteAfter(std::size_t n) {
    return "fail-write-" + std::to_string(n);
}
