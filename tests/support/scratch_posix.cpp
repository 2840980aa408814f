#include "support/scratch.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

bool MakeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0755) == 0;
}

std::string MakeScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/vellumor-test-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr)
        std::abort();
    return pattern;
}

static int RemoveOne(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

void RemoveTree(const std::string& path) {
    chmod(path.c_str(), 0755);
    nftw(path.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* folder = opendir(path.c_str())) {
        while (const dirent* item = readdir(folder)) {
            std::string name = item->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(folder);
    }
    std::sort(names.begin(), names.end());
    return names;
}
