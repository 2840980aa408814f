#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "join/file_handle_win32.h"
#include "join/output.h"
#include "text/buffer.h"

namespace {

// The wide calls take names longer than MAX_PATH, as the C runtime's fopen did for the output.
struct WideName {
    WCHAR text[kPathBufferSize];
    explicit WideName(const char* path) {
        if (MultiByteToWideChar(CP_ACP, 0, path, -1, text, kPathBufferSize) == 0)
            text[0] = L'\0';
    }
};

void NoteIdentity(OutputStream& out, HANDLE file) {
    if (IdentityOf(file, &out.device[out.identities], &out.node[out.identities]))
        ++out.identities;
}

// Whether a new file may take the place of the existing output: a file on a disk with no
// other name whose deletion nobody holds off. Anything else (a device, a hard link, a file
// held open without delete sharing, a read-only file) is written in place, as a replace would
// change more than the content or be refused at the end.
bool MayReplace(OutputStream& out, HANDLE old) {
    BY_HANDLE_FILE_INFORMATION info;
    bool file = GetFileType(old) == FILE_TYPE_DISK && GetFileInformationByHandle(old, &info) &&
                !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) &&
                info.nNumberOfLinks == 1;
    NoteIdentity(out, old);
    return file;
}

HANDLE CreateTemporary(OutputStream& out) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        if (!TemporaryNameBeside(out.temporary, out.path, GetCurrentProcessId() * 16ul + attempt))
            break;
        HANDLE file = CreateFileW(WideName(out.temporary).text, GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    out.temporary[0] = '\0';
    return INVALID_HANDLE_VALUE;
}

// The output itself, emptied. Opened as it is, then cut, so that a hidden or system file keeps
// its attributes (a create-always open would be refused for them).
HANDLE OpenInPlace(const char* path, DWORD creation) {
    HANDLE file =
        CreateFileW(WideName(path).text, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
        !SetEndOfFile(file)) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::FILE* StreamOf(HANDLE file) {
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr)
        _close(fd);
    return stream;
}

} // namespace

HANDLE HandleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IdentityOf(HANDLE file, unsigned long long* volume, unsigned long long* index) {
    BY_HANDLE_FILE_INFORMATION info;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info))
        return false;
    *volume = info.dwVolumeSerialNumber;
    *index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool RemoveWhatWasCreated(const OutputStream& out) {
    if (out.temporary[0] != '\0')
        return DeleteFileW(WideName(out.temporary).text) != FALSE;
    return !out.created || DeleteFileW(WideName(out.path).text) != FALSE;
}

bool OpenOutputFile(OutputStream& out) {
    HANDLE file = INVALID_HANDLE_VALUE;
    // Asked with the right to delete, which a program holding the file may not share.
    HANDLE old = CreateFileW(WideName(out.path).text, DELETE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (old != INVALID_HANDLE_VALUE) {
        if (MayReplace(out, old))
            file = CreateTemporary(out);
        CloseHandle(old);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = OpenInPlace(out.path, CREATE_NEW);
        out.created = file != INVALID_HANDLE_VALUE;
    }
    if (file == INVALID_HANDLE_VALUE)
        file = OpenInPlace(out.path, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        out.error = GetLastError();
        return false;
    }
    NoteIdentity(out, file);
    out.file = StreamOf(file);
    if (out.file == nullptr) {
        out.error = ERROR_NOT_ENOUGH_MEMORY;
        RemoveWhatWasCreated(out);
        return false;
    }
    return true;
}

// Straight to the system, so that its own error is known. A write that takes less than it was
// given and says nothing is a full disk.
unsigned long WriteOutputFile(std::FILE* file, const void* bytes, std::size_t size) {
    HANDLE handle = HandleOf(file);
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        SetLastError(ERROR_SUCCESS);
        if (!WriteFile(handle, at, chunk, &written, nullptr) || written == 0) {
            DWORD error = GetLastError();
            return error != ERROR_SUCCESS ? error : ERROR_DISK_FULL;
        }
        at += written;
        size -= written;
    }
    return 0;
}

unsigned long CloseOutputFile(std::FILE* file) {
    SetLastError(ERROR_SUCCESS);
    if (std::fclose(file) == 0)
        return 0;
    return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
}

// A replace keeps the output's attributes, security and creation time with its name; the
// attributes are given to the new file first as well, as not every system's replace does.
unsigned long ReplaceOutputFile(const OutputStream& out) {
    WideName output(out.path), temporary(out.temporary);
    DWORD attributes = GetFileAttributesW(output.text);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(temporary.text, attributes);
    if (!ReplaceFileW(output.text, temporary.text, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr))
        return GetLastError();
    return 0;
}

unsigned long NoMemoryError() {
    return ERROR_NOT_ENOUGH_MEMORY;
}

// Straight from the system, so that its own error is known; the stream is unbuffered, so the
// two never disagree on where the file stands.
std::size_t ReadEntryFile(std::FILE* entry, void* into, std::size_t size, unsigned long* error) {
    HANDLE handle = HandleOf(entry);
    char* at = static_cast<char*>(into);
    std::size_t got = 0;
    while (got < size) {
        DWORD chunk = size - got > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size - got);
        DWORD read = 0;
        if (!ReadFile(handle, at + got, chunk, &read, nullptr)) {
            DWORD why = GetLastError();
            if (why != ERROR_HANDLE_EOF && why != ERROR_BROKEN_PIPE)
                *error = why;
            break;
        }
        if (read == 0)
            break;
        got += read;
    }
    return got;
}

// In the user's language where the system has it; the line end it closes with is left off.
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

// The C runtime's streams offer no copy inside the system: the buffer does it all.
bool CopyRestInKernel(OutputStream&, std::FILE*) {
    return false;
}
