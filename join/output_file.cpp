#include "join/output_file.h"

#include "text/path.h"

void StartOutputFile(OutputFile& out, const char* path) {
    out.path = path;
    out.handle = -1;
    out.temporary[0] = '\0';
    out.created = false;
    out.identities = 0;
}

bool IsOutputIdentity(const OutputFile& out, unsigned long long device, unsigned long long node) {
    for (int i = 0; i < out.identities; ++i) {
        if (out.device[i] == device && out.node[i] == node)
            return true;
    }
    return false;
}

bool TemporaryNameBeside(char* name, const char* output, unsigned long unique) {
    PathBuffer folder;
    if (!CopyWholePath(folder, output))
        return false;
    // A name without a folder is in the current one, and so is the new file.
    bool inFolder = SplitFolderAndName(folder) != folder;
    char leaf[32];
    PrintBounded(leaf, sizeof leaf, ".vellumor-%08lx.tmp", unique);
    return inFolder ? JoinFolderAndName(name, folder, leaf) : CopyWholePath(name, leaf);
}
