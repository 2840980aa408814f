// The two writers of the join run, given an output path it has already resolved. Only the
// run calls them.
#pragma once

#include "join/join.h"

// False when the run failed, with what failed in *failure (when given); needsAnEntry as for
// JoinFiles.
bool WritePlainJoin(const char* outputPath, const FileList& list, bool needsAnEntry,
                    JoinFailure* failure);
bool WriteHtmlJoin(const char* outputPath, const FileList& list, bool needsAnEntry,
                   JoinFailure* failure);
