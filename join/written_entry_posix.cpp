#include <cerrno>
#include <sys/stat.h>

#include "join/written_entry.h"

static bool IsTheOutput(const OutputStream& out, const struct stat& st) {
    return IsOutputIdentity(out, st.st_dev, st.st_ino);
}

// Letter case is never folded here: on a case-sensitive file system a.txt and A.txt are two
// files. Any other spelling of the output (a link, another path to the same place) is the
// same file, found by its identity. A folder is no file, as it is not in a drop.
static bool PassesRule(const OutputStream& out, bool found, const struct stat& st, JoinSkip* why) {
    if (!found) {
        *why = kSkipMissing;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        *why = kSkipNotAFile;
        return false;
    }
    if (IsTheOutput(out, st)) {
        *why = kSkipIsOutput;
        return false;
    }
    return true;
}

bool IsWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    struct stat st;
    return PassesRule(out, stat(entry, &st) == 0, st, why);
}

// Opening first and asking the open file who it is walks the path once instead of twice,
// which a join of thousands of small files feels. Only what cannot be opened is looked up.
EntryFile OpenWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    std::FILE* f = std::fopen(entry, "rb");
    unsigned long opening = f == nullptr ? static_cast<unsigned long>(errno) : 0;
    struct stat st;
    bool found = f != nullptr ? fstat(fileno(f), &st) == 0 : stat(entry, &st) == 0;
    if (!PassesRule(out, found, st, why)) {
        if (f != nullptr)
            std::fclose(f);
        return EntryFile{nullptr, -1, 0};
    }
    if (f == nullptr) {
        *why = kSkipUnreadable;
        return EntryFile{nullptr, -1, opening};
    }
    // A regular file's size tells when its copy is done. Files the system makes up as they
    // are read (those under /proc) give size 0 whatever they hold: read to the end.
    return EntryFile{ReadUnbuffered(f), S_ISREG(st.st_mode) && st.st_size > 0 ? st.st_size : -1,
                     0};
}
