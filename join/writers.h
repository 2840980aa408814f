// The two writers of the join run, given an output path it has already resolved. Only the
// run calls them.
#pragma once

#include "join/join.h"

// False when the run failed, with what failed in *failure (when given).
bool WritePlainJoin(const char* outputPath, const FileList& list, JoinFailure* failure);
bool WriteHtmlJoin(const char* outputPath, const FileList& list, JoinFailure* failure);
