#include <cstdio>

#include "join/writers.h"
#include "join/written_entry.h"
#include "join/output.h"

bool WritePlainJoin(const char* outputPath, const FileList& list, JoinFailure* failure) {
    OutputStream out;
    if (!OpenOutput(out, outputPath))
        return TellFailure(out, failure);
    int count = list.count(list.owner);
    PathBuffer path;
    for (int i = 0; i < count && out.error == 0; ++i) {
        JoinSkip why;
        EntryFile entry = OpenListedEntry(list, i, out, path, &why);
        if (entry.file != nullptr) {
            CopyStreamBytes(out, entry);
            CloseEntry(out, path, entry);
        }
    }
    return CloseOutput(out) || TellFailure(out, failure);
}
