#include "join/run.h"

#include <cstdlib>

#include "join/html_escape.h"

namespace {

bool Fail(JoinFailure* failure, JoinFailureKind kind, unsigned long error, const char* file,
          const char* leftBehind) {
    if (failure != nullptr) {
        failure->kind = kind;
        failure->error = error;
        CopyBounded(failure->file, kPathBufferSize, file);
        CopyBounded(failure->leftBehind, kPathBufferSize, leftBehind);
    }
    return false;
}

} // namespace

bool BeginRun(RunState& run, const char* outputPath, bool page, JoinFailure* failure) {
    run.chunk = run.escaped = nullptr;
    run.joined = 0;
    run.readError = 0;
    run.failedEntry[0] = '\0';
    if (unsigned long error = OpenOutputFile(run.file, outputPath))
        return Fail(failure, kJoinOutputFailed, error, outputPath, "");
    unsigned long error = OpenOutputBuffer(run.out, run.file, page);
    if (error == 0 && page) {
        // The chunk, and after it the room for it escaped.
        run.chunk =
            static_cast<unsigned char*>(std::malloc(kEscapeChunk * (1 + kLongestHtmlEscape)));
        if (run.chunk != nullptr)
            run.escaped = run.chunk + kEscapeChunk;
        else
            error = NoMemoryError();
    }
    if (error == 0)
        return true;
    CloseOutputBuffer(run.out);
    PathBuffer leftBehind;
    FinishOutputFile(run.file, false, leftBehind);
    return Fail(failure, kJoinOutputFailed, error, outputPath, leftBehind);
}

bool RunGoesOn(const RunState& run) {
    return run.readError == 0 && run.out.error == 0;
}

void EndEntryCopy(RunState& run, EntryFile& entry, const char* path) {
    if (entry.error == 0) {
        ++run.joined;
    } else if (run.readError == 0) {
        run.readError = entry.error;
        CopyBounded(run.failedEntry, kPathBufferSize, path);
    }
    CloseEntry(entry);
}

bool EndRun(RunState& run, JoinFailure* failure) {
    unsigned long writing = CloseOutputBuffer(run.out);
    std::free(run.chunk);
    run.chunk = run.escaped = nullptr;
    // A read that failed stopped the run; a write that failed did so before any read.
    unsigned long error = run.readError != 0 ? run.readError : writing;
    bool keep = error == 0 && run.joined > 0;
    PathBuffer leftBehind;
    unsigned long finishing = FinishOutputFile(run.file, keep, leftBehind);
    if (error == 0)
        error = finishing;
    if (keep && error == 0)
        return true;
    if (run.readError != 0)
        return Fail(failure, kJoinEntryFailed, error, run.failedEntry, leftBehind);
    return Fail(failure, error != 0 ? kJoinOutputFailed : kJoinNothingJoined, error, run.file.path,
                leftBehind);
}

void ReportSkip(const FileList& list, int index, const char* path, JoinSkip why,
                unsigned long error) {
    if (list.skipped != nullptr)
        list.skipped(list.listener, index, path, why, error);
}
