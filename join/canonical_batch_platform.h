// The platform's half of a canonical batch.
#pragma once

struct CanonicalBatch;

// Splits the path of an ordinary file into the folder to resolve and the file's name as the
// folder stores it (both PathBuffers); false when the path must be resolved whole.
bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name);
