// Test support: a fresh folder per test, and whole-file reads and writes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

// A new empty folder, removed with everything in it when the object goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // The full path of a name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + kSep + name; }
    // Writes a file inside the folder and gives its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

// A path of exactly length bytes inside dir (length at least dir's path and a separator more):
// its folders are made, the last name is not. Deep paths need several folders, as no one name
// may be longer than 255 bytes.
std::string PathOfLength(const ScratchDir& dir, std::size_t length);

// The names in a folder, "." and ".." left out, in name order.
std::vector<std::string> ListFolder(const std::string& path);

bool WriteWholeFile(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be opened.
std::string ReadWholeFile(const std::string& path);
bool PathExists(const std::string& path);
bool MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
std::string MakeScratchFolder();
