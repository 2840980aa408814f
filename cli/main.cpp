// vellumor-join: the join run of the program's OK button, from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "canonical/canonical.h"
#include "join/join.h"
#include "join/path_array.h"

namespace {

const char kUsage[] =
    "usage: vellumor-join [--html] -o OUTPUT FILE...\n"
    "Joins the FILEs, in the order given, into OUTPUT: byte for byte, or with --html as one\n"
    "Shift_JIS HTML page with a table of contents and one table per file.\n"
    "Missing files and the output itself are skipped and named on standard error.\n"
    "OUTPUT is replaced only once all of it is written: a failed join leaves it as it was.\n"
    "Exit status: 0 done (also when files were skipped), 1 OUTPUT could not be written or a\n"
    "FILE could not be read to its end, 2 usage error.\n";

struct Arguments {
    bool html = false;
    const char* output = nullptr;
    std::vector<const char*> files;
};

int UsageError(const char* problem, const char* detail) {
    std::fprintf(stderr, "vellumor-join: %s%s\n%s", problem, detail, kUsage);
    return 2;
}

// Gives -1 when the arguments are usable, else the exit status to end with.
int ParseArguments(int argc, char** argv, Arguments& args) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (optionsEnded || a[0] != '-' || a[1] == '\0') {
            args.files.push_back(a);
        } else if (std::strcmp(a, "--") == 0) {
            optionsEnded = true;
        } else if (std::strcmp(a, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (std::strcmp(a, "--version") == 0) {
            std::puts("vellumor-join " VELLUMOR_VERSION);
            return 0;
        } else if (std::strcmp(a, "--html") == 0) {
            args.html = true;
        } else if (std::strcmp(a, "-o") == 0) {
            if (i + 1 == argc)
                return UsageError("option -o needs an output file name", "");
            args.output = argv[++i];
        } else {
            return UsageError("unknown option ", a);
        }
    }
    if (args.output == nullptr)
        return UsageError("no output file given (-o OUTPUT)", "");
    if (args.files.empty())
        return UsageError("no files to join", "");
    return -1;
}

// The names handed to the join, in the order given, with the arguments they came from.
struct Entries {
    const Arguments* args;
    std::vector<std::string> names;
};

void ReportSkipped(void* listener, int index, const char* path, JoinSkip why) {
    static const char* const kWhy[] = {"no such file", "it is the output file",
                                       "it could not be read", "it is not a file"};
    const Entries* entries = static_cast<const Entries*>(listener);
    // The join reads a name too long for a path as no file at all; it is named as typed.
    PathBuffer whole;
    if (!CopyWholePath(whole, entries->names[index].c_str()))
        std::fprintf(stderr, "vellumor-join: skipped %s: name too long\n",
                     entries->args->files[index]);
    else
        std::fprintf(stderr, "vellumor-join: skipped %s: %s\n", path, kWhy[why]);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    int status = ParseArguments(argc, argv, args);
    if (status >= 0)
        return status;

    // Each existing file gets the spelling the program's list would give it, so that the
    // output is recognised among the entries however either was typed. A missing file has
    // no canonical path and stays as typed, for the join to skip and name.
    Entries entries{&args, std::vector<std::string>(args.files.begin(), args.files.end())};
    CanonicalBatch batch;
    BeginCanonicalBatch(&batch);
    for (std::string& name : entries.names) {
        PathBuffer canonical;
        if (GetCanonicalPathInBatch(&batch, canonical, name.c_str()))
            name = canonical;
    }
    EndCanonicalBatch(&batch);
    std::vector<const char*> paths;
    for (const std::string& name : entries.names)
        paths.push_back(name.c_str());

    PathArray array{paths.data(), static_cast<int>(paths.size())};
    FileList list = FileListOfPaths(array);
    list.skipped = ReportSkipped;
    list.listener = &entries;
    JoinFailure failure;
    if (!JoinFiles(args.output, list, args.html ? kJoinHtml : kJoinPlainText, &failure)) {
        char reason[512] = "name too long";
        if (failure.kind != kJoinNameTooLong)
            DescribeSystemError(failure.error, reason, sizeof reason);
        bool reading = failure.kind == kJoinEntryFailed;
        std::fprintf(stderr, "vellumor-join: cannot %s %s: %s\n", reading ? "read" : "write",
                     reading ? failure.file : args.output, reason);
        return 1;
    }
    return 0;
}
