#include "join/written_entry.h"

std::FILE* ReadUnbuffered(std::FILE* entry) {
    if (entry != nullptr)
        std::setvbuf(entry, nullptr, _IONBF, 0);
    return entry;
}

std::FILE* OpenEntry(const char* path) {
    return ReadUnbuffered(std::fopen(path, "rb"));
}

void CloseEntry(OutputStream& out, const char* path, const EntryFile& entry) {
    if (out.readFailed && out.failedEntry[0] == '\0')
        CopyBounded(out.failedEntry, kPathBufferSize, path);
    else if (!out.readFailed)
        ++out.joined;
    std::fclose(entry.file);
}

bool IsOutputIdentity(const OutputStream& out, unsigned long long device, unsigned long long node) {
    for (int i = 0; i < out.identities; ++i) {
        if (out.device[i] == device && out.node[i] == node)
            return true;
    }
    return false;
}

void ReportSkip(const FileList& list, int index, const char* path, JoinSkip why,
                unsigned long error) {
    if (list.skipped != nullptr)
        list.skipped(list.listener, index, path, why, error);
}

bool FetchWrittenEntry(const FileList& list, int index, const OutputStream& out, char* path) {
    list.entry(list.owner, index, path);
    JoinSkip why;
    return IsWrittenEntry(out, path, &why);
}

EntryFile OpenListedEntry(const FileList& list, int index, const OutputStream& out, char* path,
                          JoinSkip* why) {
    list.entry(list.owner, index, path);
    EntryFile entry = OpenWrittenEntry(out, path, why);
    if (entry.file == nullptr)
        ReportSkip(list, index, path, *why, entry.error);
    return entry;
}
