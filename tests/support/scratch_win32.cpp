#include "support/scratch.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::string MakeScratchFolder() {
    char tmp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, tmp);
    if (n == 0 || n >= MAX_PATH)
        std::abort();
    for (unsigned serial = GetTickCount() ^ GetCurrentProcessId();; ++serial) {
        char name[MAX_PATH + 32];
        std::snprintf(name, sizeof name, "%svellumor-test-%08x", tmp, serial);
        if (CreateDirectoryA(name, nullptr))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            std::abort();
    }
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}
