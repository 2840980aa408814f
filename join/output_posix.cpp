#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "join/output.h"
#include "text/buffer.h"

namespace {

void NoteIdentity(OutputStream& out, const struct stat& st) {
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
int CreateTemporary(OutputStream& out, const struct stat& old) {
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

bool RemoveWhatWasCreated(const OutputStream& out) {
    if (out.temporary[0] != '\0')
        return unlink(out.temporary) == 0;
    return !out.created || unlink(out.path) == 0;
}

bool OpenOutputFile(OutputStream& out) {
    struct stat old;
    int fd = -1;
    if (stat(out.path, &old) != 0) {
        fd = open(out.path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        out.created = fd >= 0;
    } else {
        NoteIdentity(out, old);
        if (MayReplace(old))
            fd = CreateTemporary(out, old);
    }
    if (fd >= 0) {
        out.file = fdopen(fd, "wb");
        if (out.file == nullptr) {
            close(fd);
            RemoveWhatWasCreated(out);
            out.created = false;
            out.temporary[0] = '\0';
        }
    }
    if (out.file == nullptr)
        out.file = std::fopen(out.path, "wb");
    if (out.file == nullptr) {
        out.error = errno != 0 ? errno : EIO;
        return false;
    }
    struct stat st;
    if (fstat(fileno(out.file), &st) == 0)
        NoteIdentity(out, st);
    return true;
}

unsigned long WriteOutputFile(std::FILE* file, const void* bytes, std::size_t size) {
    errno = 0;
    if (std::fwrite(bytes, 1, size, file) == size)
        return 0;
    return errno != 0 ? errno : EIO;
}

unsigned long CloseOutputFile(std::FILE* file) {
    errno = 0;
    if (std::fclose(file) == 0)
        return 0;
    return errno != 0 ? errno : EIO;
}

unsigned long ReplaceOutputFile(const OutputStream& out) {
    return std::rename(out.temporary, out.path) == 0 ? 0 : errno;
}

unsigned long NoMemoryError() {
    return ENOMEM;
}

std::size_t ReadEntryFile(std::FILE* entry, void* into, std::size_t size, unsigned long* error) {
    std::size_t n = std::fread(into, 1, size, entry);
    if (n < size && std::ferror(entry))
        *error = errno != 0 ? errno : EIO;
    return n;
}

void DescribeSystemError(unsigned long error, char* text, int size) {
    PrintBounded(text, size, "%s", std::strerror(static_cast<int>(error)));
}

bool CopyRestInKernel(OutputStream& out, std::FILE* source) {
    int from = fileno(source), to = fileno(out.file);
    for (;;) {
        ssize_t n = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n == 0)
            return true;
        // Impossible between these two files (a device, an old kernel, two file systems), or
        // a failure on either side: the buffered copy goes on from here and tells a read
        // error from a write error.
        if (n < 0 && errno != EINTR)
            return false;
    }
}
