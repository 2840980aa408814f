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
    int errors = 0;                   // how many of them came with the system's reason
    JoinFailure failure;

    bool Run(const std::string& output, const std::vector<std::string>& entries,
             JoinFormat format) {
        std::vector<const char*> paths;
        for (const std::string& e : entries)
            paths.push_back(e.c_str());
        PathArray array{paths.data(), static_cast<int>(paths.size())};
        FileList list = FileListOfPaths(array);
        list.skipped = [](void* listener, int index, const char*, JoinSkip why,
                          unsigned long error) {
            static const char* const kWhy[] = {"missing", "output", "unreadable", "not a file"};
            JoinRun* run = static_cast<JoinRun*>(listener);
            run->skipped.push_back(std::to_string(index) + ":" + kWhy[why]);
            run->errors += error != 0;
        };
        list.listener = this;
        return JoinFiles(output.c_str(), list, format, &failure);
    }
};
