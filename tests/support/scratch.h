// Test support: a fresh folder per test, and whole-file reads and writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

// A new empty folder, removed with everything in it when the object goes; in parent when
// given (another file system than the usual one, say), else in the system's folder for them.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& parent = "");
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
std::string MakeScratchFolder(const std::string& parent = "");

// An item at path that exists but cannot be opened for reading while the object lives: a
// Unix socket natively, a file held open without read sharing under Windows.
class UnreadableItem {
  public:
    explicit UnreadableItem(const std::string& path);
    ~UnreadableItem();
    UnreadableItem(const UnreadableItem&) = delete;
    UnreadableItem& operator=(const UnreadableItem&) = delete;

    bool made() const { return made_; }

  private:
    bool made_ = false;
    std::intptr_t handle_ = -1;
};
