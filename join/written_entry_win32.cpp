#include <windows.h>

#include <io.h>

#include <cstring>

#include "join/written_entry.h"
#include "text/path.h"
#include "text/sjis.h"

namespace {

// A file is known by its volume and its index on it, whatever name reached it: a hard link,
// another drive letter for the same folder, a relative spelling of a file made after the
// names were compared.
bool IdentityOf(HANDLE file, unsigned long long* volume, unsigned long long* index) {
    BY_HANDLE_FILE_INFORMATION info;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info))
        return false;
    *volume = info.dwVolumeSerialNumber;
    *index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

HANDLE HandleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IsTheOutput(const OutputStream& out, HANDLE file) {
    unsigned long long volume, index;
    return IdentityOf(file, &volume, &index) && IsOutputIdentity(out, volume, index);
}

// The names first, as the list holds canonical names and the output's is canonical when it
// existed before the run.
bool PassesNameRule(const OutputStream& out, const char* entry, JoinSkip* why) {
    // No file's name holds * or ?; a pattern must never be taken for whichever file it matches
    // first (* and ? are never the second byte of a character).
    if (std::strpbrk(entry, "*?") != nullptr || !FileExists(entry)) {
        *why = kSkipMissing;
        return false;
    }
    if (EqualNoCase(out.path, entry)) {
        *why = kSkipIsOutput;
        return false;
    }
    return true;
}

} // namespace

// Asking who a file is needs a handle, but no right to read it; a device (AUX, COM1, CON)
// opened so is never read, which could wait for ever.
bool IsWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!PassesNameRule(out, entry, why))
        return false;
    HANDLE file = CreateFileA(entry, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true; // what cannot be asked is for the opening to find out
    bool device = GetFileType(file) != FILE_TYPE_DISK;
    bool isOutput = IsTheOutput(out, file);
    CloseHandle(file);
    *why = device ? kSkipNotAFile : kSkipIsOutput;
    return !device && !isOutput;
}

// The identity is taken from the stream that is read, so what is copied is what was checked.
EntryFile OpenWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!IsWrittenEntry(out, entry, why))
        return EntryFile{nullptr, -1};
    std::FILE* f = OpenEntry(entry);
    if (f == nullptr) {
        *why = kSkipUnreadable;
        return EntryFile{nullptr, -1};
    }
    // A device that could not be asked before it was opened is still never read.
    bool device = GetFileType(HandleOf(f)) != FILE_TYPE_DISK;
    if (device || IsTheOutput(out, HandleOf(f))) {
        std::fclose(f);
        *why = device ? kSkipNotAFile : kSkipIsOutput;
        return EntryFile{nullptr, -1};
    }
    // The size is not taken here: the copy reads to the end.
    return EntryFile{f, -1};
}
