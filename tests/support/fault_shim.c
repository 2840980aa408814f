/* A Linux library preloaded into the test programs (and the Windows ones under Wine, whose
 * file calls end in these): reads and writes of a file whose path holds "fail-read-N" or
 * "fail-write-N" fail once the file's offset reaches N bytes, the bytes before N going through
 * as on a disk that fails part-way. Everything else passes untouched. The join's own read and
 * write functions run as they do for users; only the system under them fails. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

/* The offset at which calls of this kind on fd fail, or -1 when its path has no such mark. */
static long long FailAt(int fd, const char* mark) {
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return -1;
    path[length] = '\0';
    const char* at = strstr(path, mark);
    return at != NULL ? atoll(at + strlen(mark)) : -1;
}

/* How much of size bytes at offset may pass: all, fewer up to the limit, or -1 (fail). */
static ssize_t Allowed(int fd, const char* mark, long long offset, size_t size, int error) {
    long long limit = FailAt(fd, mark);
    if (limit < 0 || offset + (long long)size <= limit)
        return (ssize_t)size;
    if (offset >= limit) {
        errno = error;
        return -1;
    }
    return (ssize_t)(limit - offset);
}

typedef ssize_t (*ReadCall)(int, void*, size_t);
typedef ssize_t (*PreadCall)(int, void*, size_t, off64_t);
typedef ssize_t (*WriteCall)(int, const void*, size_t);
typedef ssize_t (*PwriteCall)(int, const void*, size_t, off64_t);
typedef ssize_t (*CopyCall)(int, off64_t*, int, off64_t*, size_t, unsigned);

ssize_t read(int fd, void* into, size_t size) {
    static ReadCall real;
    if (real == NULL)
        real = (ReadCall)dlsym(RTLD_NEXT, "read");
    ssize_t n = Allowed(fd, "fail-read-", lseek(fd, 0, SEEK_CUR), size, EIO);
    return n < 0 ? -1 : real(fd, into, (size_t)n);
}

ssize_t pread64(int fd, void* into, size_t size, off64_t offset) {
    static PreadCall real;
    if (real == NULL)
        real = (PreadCall)dlsym(RTLD_NEXT, "pread64");
    ssize_t n = Allowed(fd, "fail-read-", offset, size, EIO);
    return n < 0 ? -1 : real(fd, into, (size_t)n, offset);
}

ssize_t write(int fd, const void* bytes, size_t size) {
    static WriteCall real;
    if (real == NULL)
        real = (WriteCall)dlsym(RTLD_NEXT, "write");
    ssize_t n = Allowed(fd, "fail-write-", lseek(fd, 0, SEEK_CUR), size, ENOSPC);
    return n < 0 ? -1 : real(fd, bytes, (size_t)n);
}

ssize_t pwrite64(int fd, const void* bytes, size_t size, off64_t offset) {
    static PwriteCall real;
    if (real == NULL)
        real = (PwriteCall)dlsym(RTLD_NEXT, "pwrite64");
    ssize_t n = Allowed(fd, "fail-write-", offset, size, ENOSPC);
    return n < 0 ? -1 : real(fd, bytes, (size_t)n, offset);
}

/* The kernel's copy would pass the marks by: it is refused, and the reads and writes above
 * carry the copy instead, as between two file systems. */
ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size,
                        unsigned flags) {
    static CopyCall real;
    if (real == NULL)
        real = (CopyCall)dlsym(RTLD_NEXT, "copy_file_range");
    if (FailAt(in, "fail-read-") >= 0 || FailAt(out, "fail-write-") >= 0) {
        errno = EXDEV;
        return -1;
    }
    return real(in, inOffset, out, outOffset, size, flags);
}
