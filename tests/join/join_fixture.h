// Runs the join over a vector of paths, and records what it reports as skipped.
#pragma once

#include <string>
#include <vector>

#include "join/join.h"
#include "join/path_array.h"
#include "support/scratch.h"
#include "support/paths.h"

struct JoinRun {
    std::vector<std::string> skipped; // "index:why" in the order reported, why in words
    JoinFailure failure;

    bool Run(const std::string& output, const std::vector<std::string>& entries,
             JoinFormat format) {
        std::vector<const char*> paths;
        for (const std::string& e : entries)
            paths.push_back(e.c_str());
        PathArray array{paths.data(), static_cast<int>(paths.size())};
        FileList list = FileListOfPaths(array);
        list.skipped = [](void* listener, int index, const char*, JoinSkip why) {
            static const char* const kWhy[] = {"missing", "output", "unreadable", "device"};
            static_cast<JoinRun*>(listener)->skipped.push_back(std::to_string(index) + ":" +
                                                               kWhy[why]);
        };
        list.listener = this;
        return JoinFiles(output.c_str(), list, format, &failure);
    }
};
