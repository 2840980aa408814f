#include <windows.h>

#include "join/entry.h"
#include "join/file_handle_win32.h"
#include "text/path.h"
#include "text/sjis.h"

namespace {

HANDLE HandleOf(const EntryFile& entry) {
    return reinterpret_cast<HANDLE>(entry.handle);
}

// The names first, as the list holds canonical names and the output's is canonical when it
// existed before the run.
bool PassesNameRule(const OutputFile& out, const char* path, JoinSkip* why) {
    // No file's name holds * or ?; a pattern must never be taken for whichever file it matches
    // first.
    DWORD attributes = HasWildcard(path) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        *why = kSkipMissing;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        *why = kSkipNotAFile; // a folder is no file, as it is not in a drop
    else if (EqualNoCase(out.path, path))
        *why = kSkipIsOutput;
    else
        return true;
    return false;
}

bool IsTheOutput(const OutputFile& out, HANDLE file) {
    unsigned long long volume, index;
    return IdentityOf(file, &volume, &index) && IsOutputIdentity(out, volume, index);
}

// A device (AUX, COM1, CON) is no file: reading it could wait for ever.
bool IsDevice(HANDLE file) {
    return GetFileType(file) != FILE_TYPE_DISK;
}

// Asking what an item is needs a handle, but no right to read it: a device opened so is never
// read. Null where it cannot be asked; the opening then finds out.
HANDLE Ask(const char* path) {
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return file != INVALID_HANDLE_VALUE ? file : nullptr;
}

// The item's handle rule, asked once: no device, and not the output by any other name.
bool PassesHandleRule(const OutputFile& out, HANDLE file, JoinSkip* why) {
    if (IsDevice(file))
        *why = kSkipNotAFile;
    else if (IsTheOutput(out, file))
        *why = kSkipIsOutput;
    else
        return true;
    return false;
}

} // namespace

bool IsWrittenEntry(const OutputFile& out, const char* path, JoinSkip* why) {
    if (!PassesNameRule(out, path, why))
        return false;
    HANDLE asked = Ask(path);
    bool passes = asked == nullptr || PassesHandleRule(out, asked, why);
    if (asked != nullptr)
        CloseHandle(asked);
    return passes;
}

// The identity is taken from the handle that is read, so what is copied is what was checked;
// before it is opened only whether it is a device is asked.
bool OpenWrittenEntry(EntryFile& entry, const OutputFile& out, const char* path, JoinSkip* why) {
    entry.handle = -1;
    entry.error = 0;
    if (!PassesNameRule(out, path, why))
        return false;
    if (HANDLE asked = Ask(path)) {
        bool device = IsDevice(asked);
        CloseHandle(asked);
        if (device) {
            *why = kSkipNotAFile;
            return false;
        }
    }
    if (!OpenEntry(entry, path)) {
        *why = kSkipUnreadable;
        return false;
    }
    if (!PassesHandleRule(out, HandleOf(entry), why)) {
        CloseEntry(entry);
        return false;
    }
    return true;
}

// Shared as the C runtime's "rb" shares: others may read and write it meanwhile.
bool OpenEntry(EntryFile& entry, const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    entry.handle = reinterpret_cast<std::intptr_t>(file);
    entry.left = -1; // the copy reads to the end
    entry.error = 0;
    if (file != INVALID_HANDLE_VALUE)
        return true;
    entry.handle = -1;
    entry.error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_OPEN_FAILED;
    return false;
}

void CloseEntry(EntryFile& entry) {
    if (entry.handle != -1)
        CloseHandle(HandleOf(entry));
    entry.handle = -1;
}

// Straight from the system, so that its own error is known. The end of a file, or of a pipe,
// is no error.
std::size_t ReadEntryOnce(std::intptr_t handle, void* into, std::size_t size,
                          unsigned long* error) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD read = 0;
    if (ReadFile(reinterpret_cast<HANDLE>(handle), into, chunk, &read, nullptr))
        return read;
    DWORD why = GetLastError();
    if (why != ERROR_HANDLE_EOF && why != ERROR_BROKEN_PIPE)
        *error = why;
    return 0;
}

// Windows has no copy between two open files inside the kernel: the buffer does it all.
bool CopyRestInKernel(EntryFile&, const OutputFile&) {
    return false;
}
