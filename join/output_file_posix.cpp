#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "join/output_file.h"

namespace {

void NoteIdentity(OutputFile& out, const struct stat& st) {
    out.device[out.identities] = st.st_dev;
    out.node[out.identities] = st.st_ino;
    ++out.identities;
}

// A rename puts a new file in the output's place: the content changes, and so would anything
// else the new file does not share with the old one. Only a regular file with no other name,
// owned by whoever runs the join, is replaced; anything else is written in place.
bool MayReplace(const struct stat& old) {
    return S_ISREG(old.st_mode) && old.st_nlink == 1 && old.st_uid == geteuid();
}

// A new file beside the output, with the permission bits and group of the one it replaces;
// -1 where the folder takes no new file.
int CreateTemporary(OutputFile& out, const struct stat& old) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        if (!TemporaryNameBeside(out.temporary, out.path, getpid() * 16ul + attempt))
            break;
        int fd = open(out.temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fchmod(fd, old.st_mode & 07777);
            // A group the user is not in cannot be given: the folder's then stays.
            int kept = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
            (void)kept;
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    out.temporary[0] = '\0';
    return -1;
}

} // namespace

unsigned long OpenOutputFile(OutputFile& out, const char* path) {
    StartOutputFile(out, path);
    struct stat old;
    int fd = -1;
    if (stat(path, &old) != 0) {
        fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        out.created = fd >= 0;
    } else {
        NoteIdentity(out, old);
        if (MayReplace(old))
            fd = CreateTemporary(out, old);
    }
    if (fd < 0)
        fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    out.handle = fd;
    if (fd < 0)
        return errno != 0 ? errno : EIO;
    struct stat st;
    if (fstat(fd, &st) == 0)
        NoteIdentity(out, st);
    return 0;
}

// Straight to the system, so that its own error is known.
unsigned long WriteOutputFile(const OutputFile& out, const void* bytes, std::size_t size) {
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t n = write(static_cast<int>(out.handle), at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

unsigned long FinishOutputFile(OutputFile& out, bool keep, char* leftBehind) {
    leftBehind[0] = '\0';
    unsigned long error = close(static_cast<int>(out.handle)) == 0 ? 0 : errno;
    out.handle = -1;
    if (keep && error == 0 && out.temporary[0] != '\0' && std::rename(out.temporary, out.path) != 0)
        error = errno;
    if (keep && error == 0)
        return 0;
    if (out.temporary[0] != '\0' && unlink(out.temporary) != 0)
        CopyBounded(leftBehind, kPathBufferSize, out.temporary);
    else if (out.temporary[0] == '\0' && out.created)
        unlink(out.path);
    return error;
}

unsigned long NoMemoryError() {
    return ENOMEM;
}
