#include "support/scratch.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <cstring>
#include <ftw.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

bool MakeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0755) == 0;
}

std::string MakeScratchFolder(const std::string& parent) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = !parent.empty() ? parent : tmp != nullptr ? tmp : "/tmp";
    pattern += "/vellumor-test-XXXXXX";
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

// A socket is found by stat but refuses to be opened as a file.
UnreadableItem::UnreadableItem(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return;
    handle_ = fd;
    made_ = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

UnreadableItem::~UnreadableItem() {
    if (handle_ >= 0)
        close(static_cast<int>(handle_));
}
