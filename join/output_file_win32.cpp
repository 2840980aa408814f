#include <windows.h>

#include "join/file_handle_win32.h"
#include "join/output_file.h"
#include "text/wide_win32.h"

// The output is opened through the wide calls: with the program's manifest, Windows 10 and
// later take names longer than MAX_PATH there where long paths are enabled, and a \\?\ name
// anywhere.

namespace {

HANDLE HandleOf(const OutputFile& out) {
    return reinterpret_cast<HANDLE>(out.handle);
}

void NoteIdentity(OutputFile& out, HANDLE file) {
    if (IdentityOf(file, &out.device[out.identities], &out.node[out.identities]))
        ++out.identities;
}

// Whether a new file may take the place of the existing output: a file on a disk with no
// other name whose deletion nobody holds off. Anything else (a device, a hard link, a file
// held open without delete sharing, a read-only file) is written in place, as a replace would
// change more than the content or be refused at the end.
bool MayReplace(OutputFile& out, HANDLE old) {
    BY_HANDLE_FILE_INFORMATION info;
    bool file = GetFileType(old) == FILE_TYPE_DISK && GetFileInformationByHandle(old, &info) &&
                !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) &&
                info.nNumberOfLinks == 1;
    NoteIdentity(out, old);
    return file;
}

HANDLE CreateTemporary(OutputFile& out) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        if (!TemporaryNameBeside(out.temporary, out.path, GetCurrentProcessId() * 16ul + attempt))
            break;
        HANDLE file =
            CreateFileW(ShiftJisToWide(out.temporary).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
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
        CreateFileW(ShiftJisToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
        !SetEndOfFile(file)) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// A replace keeps the output's attributes, security and creation time with its name; the
// attributes are given to the new file first as well, as not every system's replace does.
unsigned long Replace(const OutputFile& out) {
    std::wstring output = ShiftJisToWide(out.path), temporary = ShiftJisToWide(out.temporary);
    DWORD attributes = GetFileAttributesW(output.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(temporary.c_str(), attributes);
    if (!ReplaceFileW(output.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr))
        return GetLastError();
    return 0;
}

} // namespace

unsigned long OpenOutputFile(OutputFile& out, const char* path) {
    StartOutputFile(out, path);
    HANDLE file = INVALID_HANDLE_VALUE;
    // Asked with the right to delete, which a program holding the file may not share.
    HANDLE old = CreateFileW(ShiftJisToWide(path).c_str(), DELETE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (old != INVALID_HANDLE_VALUE) {
        if (MayReplace(out, old))
            file = CreateTemporary(out);
        CloseHandle(old);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = OpenInPlace(path, CREATE_NEW);
        out.created = file != INVALID_HANDLE_VALUE;
    }
    if (file == INVALID_HANDLE_VALUE)
        file = OpenInPlace(path, OPEN_ALWAYS);
    out.handle = reinterpret_cast<std::intptr_t>(file);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    NoteIdentity(out, file);
    return 0;
}

// Straight to the system, so that its own error is known.
unsigned long WriteOutputFile(const OutputFile& out, const void* bytes, std::size_t size) {
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        SetLastError(ERROR_SUCCESS);
        if (!WriteFile(HandleOf(out), at, chunk, &written, nullptr) || written == 0) {
            DWORD error = GetLastError();
            return error != ERROR_SUCCESS ? error : ERROR_DISK_FULL;
        }
        at += written;
        size -= written;
    }
    return 0;
}

unsigned long FinishOutputFile(OutputFile& out, bool keep, char* leftBehind) {
    leftBehind[0] = '\0';
    unsigned long error = CloseHandle(HandleOf(out)) ? 0 : GetLastError();
    out.handle = -1;
    if (keep && error == 0 && out.temporary[0] != '\0')
        error = Replace(out);
    if (keep && error == 0)
        return 0;
    if (out.temporary[0] != '\0' && !DeleteFileW(ShiftJisToWide(out.temporary).c_str()))
        CopyBounded(leftBehind, kPathBufferSize, out.temporary);
    else if (out.temporary[0] == '\0' && out.created)
        DeleteFileW(ShiftJisToWide(out.path).c_str());
    return error;
}

unsigned long NoMemoryError() {
    return ERROR_NOT_ENOUGH_MEMORY;
}
