// How long one drop of many files takes to reach the list: AddDroppedFiles on a real sorted
// list box in a real dialog, for drops of 1,000 and 10,000 existing files in shuffled order,
// then the same files again (all duplicates), and one reading of the whole list as a join run
// does it, by the direct route and with every message sent. Not a test: it prints wall-clock
// and processor times.
//   bench_add_dropped_files [count...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "filelist/filelist.h"
#include "support/list_dialog.h"
#include "support/scratch.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The thread's own processor time, which other loads on the machine barely touch.
double ThreadSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

struct Timing {
    double wall, processor;
};

Timing TimeDrop(ListDialog& d, const std::vector<std::string>& names) {
    HDROP drop = MakeDrop(names);
    LARGE_INTEGER start, end;
    double processor = ThreadSeconds();
    QueryPerformanceCounter(&start);
    AddDroppedFiles(d.list(), drop);
    QueryPerformanceCounter(&end);
    return Timing{Seconds(start, end), ThreadSeconds() - processor};
}

// One pass of a join run over the list: the count, then every entry.
double TimeListReading(const ListBoxCalls& calls) {
    FileList list = FileListOfListBox(calls);
    PathBuffer path;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0, count = list.count(list.owner); i < count; ++i)
        list.entry(list.owner, i, path);
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {1000, 10000};
    int most = *std::max_element(counts.begin(), counts.end());

    ScratchDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < most; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "File%05d.txt", i);
        files.push_back(dir.Write(name, "x"));
    }
    std::shuffle(files.begin(), files.end(), std::mt19937(20261208));

    ListDialog d;
    for (int count : counts) {
        std::vector<std::string> names(files.begin(), files.begin() + count);
        d.Reset({});
        Timing fresh = TimeDrop(d, names);
        int added = d.Count();
        Timing again = TimeDrop(d, names);
        std::printf("%6d files: into an empty list %8.3f s (%8.3f s processor), %d entries; "
                    "again, all duplicates %8.3f s (%8.3f s processor), %d entries\n",
                    count, fresh.wall, fresh.processor, added, again.wall, again.processor,
                    d.Count());
        std::printf("%6d entries read as a join does: %8.3f s direct, %8.3f s sent\n", d.Count(),
                    TimeListReading(ListBoxCallsOf(d.list())),
                    TimeListReading(ListBoxCalls{d.list(), nullptr}));
        std::fflush(stdout);
    }
    return 0;
}
