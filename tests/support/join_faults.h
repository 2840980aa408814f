// Test support: faults in the join's own writes and reads, through the calls it makes them by.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "join/output.h"

#ifdef _WIN32
#include <windows.h>
constexpr unsigned long kDiskFull = ERROR_DISK_FULL, kReadFault = ERROR_READ_FAULT;
#else
constexpr unsigned long kDiskFull = ENOSPC, kReadFault = EIO;
#endif

// While it lives, the run's writes (or reads) fail once `after` bytes have gone through them;
// the bytes before the failure are written (or read), as on a disk that fills part-way.
class InjectedFault {
  public:
    InjectedFault(bool reading, std::size_t after) {
        Now() = Fault{reading, after, 0};
        g_joinFileCalls = JoinFileCalls{Write, Read};
    }
    ~InjectedFault() { g_joinFileCalls = saved_; }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;

  private:
    struct Fault {
        bool reading;
        std::size_t after, through;
    };
    static Fault& Now() {
        static Fault fault;
        return fault;
    }
    static unsigned long Write(std::FILE* file, const void* bytes, std::size_t size) {
        Fault& f = Now();
        if (!f.reading && f.through + size > f.after) {
            WriteOutputFile(file, bytes, f.after - f.through);
            f.through = f.after;
            return kDiskFull;
        }
        f.through += size;
        return WriteOutputFile(file, bytes, size);
    }
    static std::size_t Read(std::FILE* entry, void* into, std::size_t size, unsigned long* error) {
        Fault& f = Now();
        std::size_t n = ReadEntryFile(entry, into, size, error);
        if (f.reading && f.through + n > f.after) {
            n = f.after - f.through;
            *error = kReadFault;
        }
        f.through += n;
        return n;
    }
    JoinFileCalls saved_ = g_joinFileCalls;
};
