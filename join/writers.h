// The two writers of the join run, given an output path it has already resolved. Only the
// run calls them.
#pragma once

#include "join/join.h"

bool WritePlainJoin(const char* outputPath, const FileList& list);
bool WriteHtmlJoin(const char* outputPath, const FileList& list);
