#include "join/run.h"
#include "join/writers.h"

namespace {

// Reads straight into the free part of the output buffer: small files gather into large
// writes, and no byte is copied twice. What overflows the buffer the kernel copies on where
// it can, which spares user space every byte of a large file; a rest that fits the emptied
// buffer is one read, cheaper than starting a copy in the kernel.
void CopyEntry(RunState& run, EntryFile& entry) {
    bool kernelTried = false;
    while (RunGoesOn(run)) {
        std::size_t room;
        unsigned char* at = ReserveOutput(run.out, 0, &room);
        if (at != nullptr && room == 0) {
            if (!SettleOutput(run.out))
                return;
            bool large =
                entry.left < 0 || static_cast<unsigned long long>(entry.left) > kOutputBufferSize;
            if (!kernelTried && large && CopyRestInKernel(entry, run.file))
                return;
            kernelTried = true;
            at = ReserveOutput(run.out, 1, &room);
        }
        if (at == nullptr)
            return;
        bool ended;
        CommitOutput(run.out, ReadEntry(entry, at, room, &ended));
        if (ended)
            return;
    }
}

} // namespace

bool WritePlainJoin(const char* outputPath, const FileList& list, JoinFailure* failure) {
    RunState run;
    if (!BeginRun(run, outputPath, false, failure))
        return false;
    int count = list.count(list.owner);
    PathBuffer path;
    for (int i = 0; i < count && RunGoesOn(run); ++i) {
        list.entry(list.owner, i, path);
        EntryFile entry;
        JoinSkip why;
        if (!OpenWrittenEntry(entry, run.file, path, &why)) {
            ReportSkip(list, i, path, why, entry.error);
            continue;
        }
        CopyEntry(run, entry);
        EndEntryCopy(run, entry, path);
    }
    return EndRun(run, failure);
}
