#include <windows.h>

#include "join/file_handle_win32.h"
#include "join/written_entry.h"
#include "text/path.h"
#include "text/sjis.h"

namespace {

bool IsTheOutput(const OutputStream& out, HANDLE file) {
    unsigned long long volume, index;
    return IdentityOf(file, &volume, &index) && IsOutputIdentity(out, volume, index);
}

// The names first, as the list holds canonical names and the output's is canonical when it
// existed before the run.
bool PassesNameRule(const OutputStream& out, const char* entry, JoinSkip* why) {
    // No file's name holds * or ?; a pattern must never be taken for whichever file it matches
    // first.
    DWORD attributes = HasWildcard(entry) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(entry);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *why = kSkipMissing;
        return false;
    }
    // A folder is no file, as it is not in a drop.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *why = kSkipNotAFile;
        return false;
    }
    if (EqualNoCase(out.path, entry)) {
        *why = kSkipIsOutput;
        return false;
    }
    return true;
}

// A device (AUX, COM1, CON) is no file: reading it could wait for ever. The output is never an
// entry, by whatever name.
bool PassesHandleRule(const OutputStream& out, HANDLE file, JoinSkip* why) {
    if (GetFileType(file) != FILE_TYPE_DISK) {
        *why = kSkipNotAFile;
        return false;
    }
    if (IsTheOutput(out, file)) {
        *why = kSkipIsOutput;
        return false;
    }
    return true;
}

// Asking what an item is needs a handle, but no right to read it: a device opened so is never
// read. Null where it cannot be asked; the opening then finds out.
HANDLE Ask(const char* entry) {
    HANDLE file = CreateFileA(entry, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return file != INVALID_HANDLE_VALUE ? file : nullptr;
}

} // namespace

bool IsWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!PassesNameRule(out, entry, why))
        return false;
    HANDLE asked = Ask(entry);
    bool passes = asked == nullptr || PassesHandleRule(out, asked, why);
    if (asked != nullptr)
        CloseHandle(asked);
    return passes;
}

// The identity is taken from the stream that is read, so what is copied is what was checked;
// before it is opened only whether it is a device is asked.
EntryFile OpenWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!PassesNameRule(out, entry, why))
        return EntryFile{nullptr, -1, 0};
    if (HANDLE asked = Ask(entry)) {
        bool device = GetFileType(asked) != FILE_TYPE_DISK;
        CloseHandle(asked);
        if (device) {
            *why = kSkipNotAFile;
            return EntryFile{nullptr, -1, 0};
        }
    }
    SetLastError(ERROR_SUCCESS);
    std::FILE* f = OpenEntry(entry);
    if (f == nullptr) {
        *why = kSkipUnreadable;
        DWORD error = GetLastError();
        return EntryFile{nullptr, -1, error != ERROR_SUCCESS ? error : ERROR_OPEN_FAILED};
    }
    if (!PassesHandleRule(out, HandleOf(f), why)) {
        std::fclose(f);
        return EntryFile{nullptr, -1, 0};
    }
    // The size is not taken here: the copy reads to the end.
    return EntryFile{f, -1, 0};
}
