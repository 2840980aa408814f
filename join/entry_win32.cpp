#include "join/output.h"
#include "text/path.h"
#include "text/sjis.h"

// The list holds canonical names, and the output's name is canonical when it exists, so
// the names alone tell whether an entry is the output; Windows names ignore letter case.
void NoteOutputIdentity(OutputStream&) {}

bool IsWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!FileExists(entry)) {
        *why = kSkipMissing;
        return false;
    }
    if (EqualNoCase(out.path, entry)) {
        *why = kSkipIsOutput;
        return false;
    }
    return true;
}

std::FILE* OpenWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why) {
    if (!IsWrittenEntry(out, entry, why))
        return nullptr;
    std::FILE* f = OpenEntry(entry);
    if (f == nullptr)
        *why = kSkipUnreadable;
    return f;
}

// The C runtime's streams offer no copy inside the system: the buffer does it all.
bool CopyRestInKernel(OutputStream&, std::FILE*) {
    return false;
}
