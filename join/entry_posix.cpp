#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "join/entry.h"

// Letter case is never folded here: on a case-sensitive file system a.txt and A.txt are two
// files. Any other spelling of the output (a link, another path to the same place) is the
// same file, found by its identity. A folder is no file, as it is not in a drop.
static bool PassesRule(const OutputFile& out, bool found, const struct stat& st, JoinSkip* why) {
    if (!found)
        *why = kSkipMissing;
    else if (S_ISDIR(st.st_mode))
        *why = kSkipNotAFile;
    else if (IsOutputIdentity(out, st.st_dev, st.st_ino))
        *why = kSkipIsOutput;
    return found && !S_ISDIR(st.st_mode) && !IsOutputIdentity(out, st.st_dev, st.st_ino);
}

bool IsWrittenEntry(const OutputFile& out, const char* path, JoinSkip* why) {
    struct stat st;
    return PassesRule(out, stat(path, &st) == 0, st, why);
}

// Opening first and asking the open file who it is walks the path once instead of twice,
// which a join of thousands of small files feels. Only what cannot be opened is looked up.
bool OpenWrittenEntry(EntryFile& entry, const OutputFile& out, const char* path, JoinSkip* why) {
    bool opened = OpenEntry(entry, path);
    struct stat st;
    bool found = opened ? fstat(static_cast<int>(entry.handle), &st) == 0 : stat(path, &st) == 0;
    if (!PassesRule(out, found, st, why)) {
        CloseEntry(entry);
        entry.error = 0;
        return false;
    }
    if (!opened) {
        *why = kSkipUnreadable;
        return false;
    }
    // A regular file's size tells when its copy is done. Files the system makes up as they
    // are read (those under /proc) give size 0 whatever they hold: read to the end.
    entry.left = S_ISREG(st.st_mode) && st.st_size > 0 ? st.st_size : -1;
    return true;
}

bool OpenEntry(EntryFile& entry, const char* path) {
    entry.handle = open(path, O_RDONLY | O_CLOEXEC);
    entry.left = -1;
    entry.error = entry.handle < 0 ? errno : 0;
    return entry.handle >= 0;
}

void CloseEntry(EntryFile& entry) {
    if (entry.handle >= 0)
        close(static_cast<int>(entry.handle));
    entry.handle = -1;
}

// Straight from the system, so that its own error is known.
std::size_t ReadEntryOnce(std::intptr_t handle, void* into, std::size_t size,
                          unsigned long* error) {
    for (;;) {
        ssize_t n = read(static_cast<int>(handle), into, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            *error = errno;
            return 0;
        }
    }
}

bool CopyRestInKernel(EntryFile& entry, const OutputFile& out) {
    for (;;) {
        ssize_t n = copy_file_range(static_cast<int>(entry.handle), nullptr,
                                    static_cast<int>(out.handle), nullptr, 1 << 30, 0);
        if (n == 0)
            return true;
        // Impossible between these two files (a device, an old kernel, two file systems), or
        // a failure on either side: the buffered copy goes on from here and tells a read
        // error from a write error.
        if (n < 0 && errno != EINTR)
            return false;
    }
}
