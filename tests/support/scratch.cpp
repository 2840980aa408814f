#include "support/scratch.h"

#include <cstdio>

#include "text/path.h"

ScratchDir::ScratchDir(const std::string& parent) : path_(MakeScratchFolder(parent)) {}
ScratchDir::~ScratchDir() {
    RemoveTree(path_);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::string full = *this / name;
    WriteWholeFile(full, bytes);
    return full;
}

std::string PathOfLength(const ScratchDir& dir, std::size_t length) {
    std::string path = dir.path();
    // Each folder leaves room for a separator and a last name of at least one byte.
    while (length - path.size() > 201) {
        path += kSep + std::string(199, 'f');
        MakeFolder(path);
    }
    return path + kSep + std::string(length - path.size() - 1, 'n');
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string ReadWholeFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return "<missing>";
    std::string bytes;
    char block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;)
        bytes.append(block, n);
    std::fclose(f);
    return bytes;
}

bool PathExists(const std::string& path) {
    return FileExists(path.c_str());
}
