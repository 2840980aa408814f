// vellumor-join: the join run of the program's OK button, from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "canonical/canonical.h"
#include "cli/command_line.h"
#include "cli/name_list.h"
#include "join/join.h"
#include "join/system_error.h"
#include "join/path_array.h"

namespace {

const char kUsage[] =
    "usage: vellumor-join [--html] -o OUTPUT FILE...\n"
    "Joins the FILEs, in the order given, into OUTPUT: byte for byte, or with --html as one\n"
    "Shift_JIS HTML page with a table of contents and one table per file.\n"
    "@LIST stands for the names in the file LIST, one per line (blank lines ignored); @-\n"
    "reads them from standard input. A LIST with a UTF-8 or UTF-16 byte-order mark is read as\n"
    "Unicode. On Windows a FILE with * or ? stands for the files it matches in its folder, in\n"
    "name order, unless it is quoted.\n"
    "Missing and unreadable files, names Shift_JIS cannot hold and the output itself are\n"
    "skipped and named on standard error.\n"
    "OUTPUT is replaced only once all of it is written: a failed join leaves it as it was.\n"
    "Exit status: 0 done (also when files were skipped), 1 nothing could be joined, OUTPUT\n"
    "could not be written or a FILE could not be read to its end, 2 usage error.\n";

struct Arguments {
    bool html = false;
    const char* output = nullptr;
    std::vector<std::string> files;
    // Names given that no file can have here (Shift_JIS cannot hold them), shown with ?.
    std::vector<std::string> refused;
};

// A name given as Unicode that the system's names cannot spell (Shift_JIS on Windows).
const char kNoSuchName[] = "its name has a character no file name here can hold";

int UsageError(const char* problem, const char* detail) {
    std::fprintf(stderr, "vellumor-join: %s%s\n%s", problem, detail, kUsage);
    return 2;
}

bool ReadResponseFile(const char* name, Arguments& args) {
    bool input = std::strcmp(name, "-") == 0;
    if (input)
        ReadStandardInputAsBytes();
    std::FILE* file = input ? stdin : std::fopen(name, "rb");
    if (file == nullptr)
        return false;
    std::string bytes;
    char block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;)
        bytes.append(block, n);
    bool read = !std::ferror(file);
    if (!input)
        std::fclose(file);
    AddListedNames(bytes, args.files, args.refused);
    return read;
}

// A FILE argument: a response file, a wildcard, or a name. A wildcard that matches nothing
// stays a name, for the join to name as missing.
int AddFileArgument(const Argument& argument, bool optionsEnded, Arguments& args) {
    const std::string& a = argument.text;
    if (!optionsEnded && a.size() > 1 && a[0] == '@') {
        if (argument.inexact || !ReadResponseFile(a.c_str() + 1, args))
            return UsageError("cannot read the list of files ", a.c_str() + 1);
        return -1;
    }
    if (argument.inexact) {
        args.refused.push_back(a);
        return -1;
    }
    std::size_t before = args.files.size();
    if (argument.literal || !ExpandWildcard(a, args.files, args.refused) ||
        args.files.size() == before)
        args.files.push_back(a);
    return -1;
}

// Gives -1 when the arguments are usable, else the exit status to end with.
int ParseArguments(const std::vector<Argument>& arguments, Arguments& args) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const char* a = arguments[i].text.c_str();
        if (optionsEnded || a[0] != '-' || a[1] == '\0') {
            int status = AddFileArgument(arguments[i], optionsEnded, args);
            if (status >= 0)
                return status;
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
            if (i + 1 == arguments.size())
                return UsageError("option -o needs an output file name", "");
            // Written by its nearest spelling, it would be another file, overwritten.
            if (arguments[++i].inexact)
                return UsageError("the output name has a character no file name here can hold: ",
                                  arguments[i].text.c_str());
            args.output = arguments[i].text.c_str();
        } else {
            return UsageError("unknown option ", a);
        }
    }
    if (args.output == nullptr)
        return UsageError("no output file given (-o OUTPUT)", "");
    if (args.files.empty() && args.refused.empty())
        return UsageError("no files to join", "");
    return -1;
}

int NothingJoined(const char* output) {
    std::fprintf(stderr, "vellumor-join: nothing was joined; %s is left as it was\n", output);
    return 1;
}

// A name too long for a path has no canonical path, so it reaches the join as typed, which
// reads it as no file at all; it is named as typed.
void ReportSkipped(void* listener, int index, const char* path, JoinSkip why, unsigned long error) {
    static const char* const kWhy[] = {"no such file", "it is the output file",
                                       "it could not be read", "it is not a file"};
    const std::string& name = (*static_cast<const std::vector<std::string>*>(listener))[index];
    PathBuffer whole;
    char text[512], reason[520] = "";
    if (error != 0) {
        DescribeSystemError(error, text, sizeof text);
        PrintBounded(reason, sizeof reason, ": %s", text);
    }
    if (!CopyWholePath(whole, name.c_str()))
        std::fprintf(stderr, "vellumor-join: skipped %s: name too long\n", name.c_str());
    else
        std::fprintf(stderr, "vellumor-join: skipped %s: %s%s\n", path, kWhy[why], reason);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    const std::vector<Argument> arguments = CommandLineArguments(argc, argv);
    int status = ParseArguments(arguments, args);
    if (status >= 0)
        return status;
    for (const std::string& name : args.refused)
        std::fprintf(stderr, "vellumor-join: skipped %s: %s\n", name.c_str(), kNoSuchName);
    // A run that joins nothing at all leaves the output as it was.
    if (args.files.empty())
        return NothingJoined(args.output);

    // Each existing file gets the spelling the program's list would give it, so that the
    // output is recognised among the entries however either was typed. A missing file has
    // no canonical path and stays as typed, for the join to skip and name.
    std::vector<std::string>& names = args.files;
    CanonicalBatch batch;
    BeginCanonicalBatch(&batch);
    for (std::string& name : names) {
        PathBuffer canonical;
        if (GetCanonicalPathInBatch(&batch, canonical, name.c_str()))
            name = canonical;
    }
    EndCanonicalBatch(&batch);
    std::vector<const char*> paths;
    for (const std::string& name : names)
        paths.push_back(name.c_str());

    PathArray array{paths.data(), static_cast<int>(paths.size())};
    FileList list = FileListOfPaths(array);
    list.skipped = ReportSkipped;
    list.listener = &names;
    JoinFailure failure;
    // A run that joins nothing at all leaves the output as it was: a typo in every name must
    // not empty last week's output and report success.
    bool joined = JoinFiles(args.output, list, args.html ? kJoinHtml : kJoinPlainText, &failure);
    if (!joined && failure.leftBehind[0] != '\0')
        std::fprintf(stderr, "vellumor-join: could not remove %s\n", failure.leftBehind);
    if (!joined) {
        if (failure.kind == kJoinNothingJoined)
            return NothingJoined(args.output);
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
