#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "join/join.h"
#include "join/system_error.h"
#include "support/join_faults.h"
#include "support/paths.h"
#include "support/run_tool.h"
#include "support/scratch.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

ToolResult Join(const std::vector<std::string>& arguments) {
    return RunTool(VELLUMOR_JOIN_TOOL, arguments);
}

bool Mentions(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

// In folder, with a cap on the output of expected bytes and a margin larger than any file the
// output replaces (its old size is there until it is opened).
ToolResult JoinCapped(const std::vector<std::string>& arguments, const std::string& folder,
                      const std::string& output, std::size_t expected) {
    return RunTool(VELLUMOR_JOIN_TOOL, arguments,
                   {folder, output, static_cast<long long>(expected) + (4 << 20)});
}

} // namespace

TEST(JoinTool, JoinsInArgumentOrderKeepingDuplicates) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A\n"), b = dir.Write("b.txt", "B");
    ToolResult r = Join({"-o", dir / "out.txt", b, a, b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadWholeFile(dir / "out.txt"), "BA\nB");
}

TEST(JoinTool, HtmlTitleAndNamesComeFromThePaths) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "x y\r\n");
    ToolResult r = Join({"--html", "-o", dir / "all.html", a});
    EXPECT_EQ(r.exitCode, 0);
    std::string page = ReadWholeFile(dir / "all.html");
    EXPECT_TRUE(Mentions(page, "<TITLE>all.html</TITLE>"));
    EXPECT_TRUE(Mentions(page, "<A HREF=\"#00000000\">a.txt</A><BR>\n"));
    EXPECT_TRUE(Mentions(page, "<TR><TD>\nx&nbsp;y<BR>\r\n</TD></TR>\n"));
}

TEST(JoinTool, SkippedEntriesAreNamedWithTheReason) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
    std::string out = dir.Write("out.txt", "old");
    // The output is also given by a roundabout spelling among the files.
    std::string again = dir.path() + kSep + "." + kSep + "out.txt";
    // One exists but cannot be opened.
    UnreadableItem held(dir / "held");
    ASSERT_TRUE(held.made());
    ToolResult r = Join({"-o", out, dir / "missing.txt", a, again, dir / "held"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(out), "A");
    EXPECT_TRUE(Mentions(r.err, "missing.txt: no such file")) << r.err;
    EXPECT_TRUE(Mentions(r.err, "out.txt: it is the output file")) << r.err;
    EXPECT_TRUE(Mentions(r.err, "held: it could not be read")) << r.err;
}

// The output named otherwise among the files (a link, a relative or roundabout name of a file
// the run itself creates) is the same file and is never read into itself.
TEST(JoinTool, TheOutputByAnyOtherSpellingIsNeverReadBack) {
    ScratchDir dir;
    // Larger than the output's buffer: a copy that read itself back would never end.
    std::string big(2 << 20, 'b');
    std::string bigFile = dir.Write("big.txt", big), other = dir.Write("other.txt", "other");
    MakeFolder(dir / "sub");
    std::string link = dir / "link.txt";
#ifdef _WIN32
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), bigFile.c_str(), nullptr));
    std::string drive = dir.path().substr(0, 2);
#else
    ASSERT_EQ(::link(bigFile.c_str(), link.c_str()), 0);
#endif
    std::string here = std::string(".") + kSep, up = std::string("..") + kSep;
    struct {
        std::string folder, output; // output as the cases's arguments name it
        std::vector<std::string> files;
        std::string written, expected;
    } cases[] = {
        {"", link, {other, bigFile}, link, "other"},
        {dir.path(), "new1", {bigFile, here + "new1"}, dir / "new1", big},
        {dir / "sub", up + "new2", {bigFile, up + "sub" + kSep + up + "new2"}, dir / "new2", big},
        {dir / "sub",
         dir / "sub" + kSep + up + "new3",
         {up + "new3", other},
         dir / "new3",
         "other"},
#ifdef _WIN32
        // Relative to the current folder of drive C: (or whichever holds the scratch folder).
        {dir.path(), "new4", {bigFile, drive + "new4"}, dir / "new4", big},
#endif
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteWholeFile(bigFile, big)); // the linked output emptied it
        std::vector<std::string> arguments = {"-o", c.output};
        arguments.insert(arguments.end(), c.files.begin(), c.files.end());
        ToolResult r = JoinCapped(arguments, c.folder, c.written, c.expected.size());
        EXPECT_EQ(r.exitCode, 0) << c.output << r.err;
        EXPECT_TRUE(ReadWholeFile(c.written) == c.expected) << c.output;
        EXPECT_TRUE(Mentions(r.err, "it is the output file")) << c.output << r.err;
    }
    // The page leaves it out of the contents and the body alike.
    ASSERT_TRUE(WriteWholeFile(bigFile, big));
    ToolResult r = JoinCapped({"--html", "-o", link, other, bigFile}, "", link, 1000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string page = ReadWholeFile(link);
    EXPECT_TRUE(Mentions(page, "other.txt")) << page;
    EXPECT_FALSE(Mentions(page, "big.txt")) << page;
    EXPECT_FALSE(Mentions(page, "bbbb"));
}

TEST(JoinTool, OutputThatCannotBeWrittenExitsOneNamingIt) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
    std::string out = dir / "no-folder" + kSep + "out.txt";
    ToolResult r = Join({"-o", out, a});
    EXPECT_EQ(r.exitCode, 1);
    // The reason in the system's own words.
    char reason[256];
#ifdef _WIN32
    DescribeSystemError(ERROR_PATH_NOT_FOUND, reason, sizeof reason);
#else
    DescribeSystemError(ENOENT, reason, sizeof reason);
#endif
    EXPECT_TRUE(Mentions(r.err, "cannot write " + out + ": " + reason)) << r.err;
#ifndef _WIN32
    r = Join({"-o", "/dev/full", a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Mentions(r.err, "No space left on device")) << r.err;
#endif
}

TEST(JoinTool, UsageErrorsExitTwo) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
    const std::vector<std::vector<std::string>> wrong = {
        {a}, {"-o", dir / "out"}, {"-o"}, {"--bogus", "-o", dir / "out", a}, {}};
    for (const auto& arguments : wrong) {
        ToolResult r = Join(arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(Mentions(r.err, "usage: vellumor-join")) << r.err;
    }
    EXPECT_FALSE(PathExists(dir / "out"));
}

// Asked anywhere on the line, help and the version are all the tool does: nothing is joined.
TEST(JoinTool, HelpAndVersionWhereverTheyStand) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
    for (const char* option : {"--help", "--version"}) {
        for (std::vector<std::string> arguments : {std::vector<std::string>{option},
                                                   {"-o", dir / "out", a, option},
                                                   {"--html", option, "-o", dir / "out", a}}) {
            ToolResult r = Join(arguments);
            EXPECT_EQ(r.exitCode, 0) << option;
            EXPECT_TRUE(Mentions(r.out, option == std::string("--help")
                                            ? "usage: vellumor-join [--html] -o OUTPUT FILE..."
                                            : "vellumor-join 1."))
                << r.out;
        }
    }
    EXPECT_FALSE(PathExists(dir / "out"));
}

TEST(JoinTool, ADashAloneOrAfterDoubleDashIsAFile) {
    ScratchDir dir;
    std::string odd = dir.Write("-odd", "odd");
    ToolResult r = Join({"-o", dir / "out", "--", odd});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(dir / "out"), "odd");
    dir.Write("-", "dash");
    r = RunTool(VELLUMOR_JOIN_TOOL, {"-o", "out", "-"}, {dir.path(), "", 0});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadWholeFile(dir / "out"), "dash");
}

// A disk that fills part-way and a file whose reading fails part-way (by the fault library):
// exit 1, what failed and why, and the previous output as it was, with nothing beside it.
TEST(JoinTool, AFailedJoinLeavesThePreviousOutput) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", std::string(100000, 'a'));
    std::string failing = dir.Write("b." + FailReadAfter(500) + ".txt", std::string(1000, 'b'));
    std::string out = dir.Write("out.txt", "previous");
    // Folders whose files fill up after 150,000 and 50,000 bytes.
    std::string full = dir / (FailWriteAfter(150000) + kSep + "out.txt");
    std::string fuller = dir / (FailWriteAfter(50000) + kSep + "out.txt");
    for (const std::string& o : {full, fuller}) {
        ASSERT_TRUE(MakeFolder(o.substr(0, o.rfind(kSep))));
        ASSERT_TRUE(WriteWholeFile(o, "previous"));
    }
    char diskFull[256], readFault[256];
    DescribeSystemError(kDiskFull, diskFull, sizeof diskFull);
    DescribeSystemError(kReadFault, readFault, sizeof readFault);
    const std::string unreadable = "cannot read " + failing + ": " + readFault;
    struct {
        std::vector<std::string> arguments;
        std::string output, says;
    } rows[] = {
        {{"-o", full, a, a}, full, "cannot write " + full + ": " + diskFull},
        {{"--html", "-o", fuller, a}, fuller, "cannot write " + fuller + ": " + diskFull},
        {{"-o", out, a, failing, a}, out, unreadable},
        {{"--html", "-o", out, a, failing}, out, unreadable},
        {{"-o", out, failing}, out, unreadable}, // the only file: its failure, not "nothing"
    };
    for (const auto& row : rows) {
        std::string folder = row.output.substr(0, row.output.rfind(kSep));
        std::vector<std::string> before = ListFolder(folder);
        ToolResult r = RunTool(VELLUMOR_JOIN_TOOL, row.arguments);
        EXPECT_EQ(r.exitCode, 1) << row.says;
        EXPECT_TRUE(Mentions(r.err, row.says)) << r.err;
        EXPECT_TRUE(ReadWholeFile(row.output) == "previous") << row.says;
        EXPECT_EQ(ListFolder(folder), before) << row.says;
    }
}

#ifdef _WIN32
// A device is no file: reading a serial port or the console could wait for ever.
TEST(JoinTool, DevicesAreSkippedNeverRead) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A"), b = dir.Write("b.txt", "B");
    ToolOptions inDir;
    inDir.folder = dir.path();
    for (std::string device : {"aux", "COM1", "NUL", "CON", "PRN", "LPT1", "aux.txt"}) {
        ToolResult r = RunTool(VELLUMOR_JOIN_TOOL, {"-o", "out.txt", a, device, b}, inDir);
        EXPECT_EQ(r.exitCode, 0) << device;
        EXPECT_TRUE(Mentions(r.err, "skipped ")) << device << r.err;
        EXPECT_EQ(ReadWholeFile(dir / "out.txt"), "AB") << device;
    }
}
#endif

// Names from lists (every line end, blank lines, standard input, ten thousand of them) and, on
// Windows, from wildcards; a run that joins nothing leaves the output alone.
TEST(JoinTool, NamesFromListsAndWildcards) {
    ScratchDir dir;
    dir.Write("a.txt", "A");
    dir.Write("b.txt", "B");
    dir.Write("C.txt", "C");
    dir.Write("d.log", "D");
    MakeFolder(dir / "e.txt"); // a folder that a wildcard matches
    MakeFolder(dir / "sub");
    dir.Write("sub/x.txt", "X");
    MakeFolder(dir / "\x95\x5c"); // 表
    dir.Write("\x95\x5c/y.txt", "Y");
    // Chapters: numbers by value, full-width ones too (第２話, 第１０話).
    MakeFolder(dir / "ch");
    const std::pair<const char*, const char*> chapters[] = {
        {"p10", "T"},
        {"P9", "9"},
        {"p1", "1"},
        {"\x91\xe6\x82\x50\x82\x4f\x98\x62", "0"},
        {"\x91\xe6\x82\x51\x98\x62", "2"}};
    for (const auto& chapter : chapters)
        dir.Write(std::string("ch/") + chapter.first + ".txt", chapter.second);
    dir.Write("lf.lst", "a.txt\nb.txt\n");
    dir.Write("crlf.lst", "a.txt\r\n\r\nC.txt\r\n");
    dir.Write("mixed.lst", "\n \t\nd.log\r\na.txt");
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many += "a.txt\r\n";
    dir.Write("many.lst", many);
    dir.Write("\x95\x5c"
              "1.log",
              "T"); // 表1.log
    // Lists saved as Unicode, with a name Shift_JIS cannot hold (café, 〜) among them.
    const std::string utf8 = "\xEF\xBB\xBF"
                             "a.txt\r\ncaf\xC3\xA9.txt\r\n\xE8\xA1\xA8/y.txt\r\n";
    dir.Write("utf8.lst", utf8);
#ifdef _WIN32
    CloseHandle(CreateFileW((Wide(dir.path()) + L"\\caf\u00e9.log").c_str(), GENERIC_WRITE, 0,
                            nullptr, CREATE_NEW, 0, nullptr));
#endif
    dir.Write("utf16.lst", std::string("\xFF\xFE"
                                       "b\0.\0t\0x\0t\0\n\0"
                                       "1\0\x1C\x30"
                                       "3\0",
                                       20));
    struct Row {
        std::string line; // the arguments after the tool's name, as typed
        std::string input;
        int exitCode;
        std::string output; // the output's bytes; "previous" when it was left alone
        std::string says;   // a name standard error must show
    } rows[] = {
        {"-o out.txt @lf.lst", "", 0, "AB", ""},
        {"-o out.txt @crlf.lst d.log", "", 0, "ACD", ""},
        {"-o out.txt @mixed.lst", "", 0, "DA", ""},
        {"-o out.txt @-", "C.txt\nb.txt\n", 0, "CB", ""},
        {"-o out.txt @many.lst", "", 0, std::string(10000, 'A'), ""},
        {"-o out.txt -- @lf.lst", "", 1, "previous", ""}, // after -- a name like any other
#ifdef _WIN32
        {"-o out.txt @utf8.lst", "", 0, "AY", "caf?.txt: its name has"},
        {"-o out.txt @utf16.lst", "", 0, "B", "1?3: its name has"},
#else
        {"-o out.txt @utf8.lst", "", 0, "A", "caf\xC3\xA9.txt: no such file"},
        {"-o out.txt @utf16.lst", "", 0, "B",
         "1\xE3\x80\x9C"
         "3: no such file"},
#endif
        {"-o out.txt typo1.txtt typo2.txtt", "", 1, "previous", ""},
        {"--html -o out.txt typo1.txtt", "", 1, "previous", ""},
#ifdef _WIN32
        {"-o out.txt *.txt", "", 0, "ABC", ""}, // name order, letter case ignored; no folder
        {"-o out.txt ?.txt d.log", "", 0, "ABCD", ""},
        {"-o out.txt ch\\*.txt", "", 0, "19T20", ""},
        {"-o out.txt sub\\*.txt \x95\x5c\\*", "", 0, "XY", ""},
        {"-o out.txt \"*.txt\" d.log", "", 0, "D", ""},  // quoted: a name, which no file has
        {"-o out.txt s*\\x.txt", "", 1, "previous", ""}, // only the last part is expanded
        {"-o out.txt *.none d.log", "", 0, "D", ""},
        {"-o out.txt \x95\x5c*.log \x95\x5c\\y*", "", 0, "TY", ""},           // 表*.log, 表\y*
        {"-o out.txt caf*.log", "", 1, "previous", "caf?.log: its name has"}, // café.log alone
#else
        {"-o out.txt *.txt", "", 1, "previous", ""}, // the shell's to expand
#endif
    };
    ASSERT_TRUE(WriteWholeFile(dir / "out.txt", "previous"));
    const std::vector<std::string> files = ListFolder(dir.path());
    for (const Row& row : rows) {
        ASSERT_TRUE(WriteWholeFile(dir / "out.txt", "previous"));
        ToolOptions options;
        options.folder = dir.path();
        options.input = row.input;
#ifdef _WIN32
        ToolResult r = RunCommandLine(
            "cmd.exe /c " + WindowsPath(VELLUMOR_JOIN_TOOL) + " " + row.line, options);
#else
        std::vector<std::string> arguments;
        for (std::size_t at = 0, end; at < row.line.size(); at = end + 1) {
            end = std::min(row.line.find(' ', at), row.line.size());
            arguments.push_back(row.line.substr(at, end - at));
        }
        ToolResult r = RunTool(VELLUMOR_JOIN_TOOL, arguments, options);
#endif
        EXPECT_EQ(r.exitCode, row.exitCode) << row.line << "\n" << r.err;
        EXPECT_TRUE(ReadWholeFile(dir / "out.txt") == row.output) << row.line;
        EXPECT_TRUE(Mentions(r.err, row.says)) << row.line << "\n" << r.err;
        if (row.output == "previous") {
            EXPECT_TRUE(Mentions(r.err, "nothing was joined; out.txt is left as it was")) << r.err;
        }
        EXPECT_EQ(ListFolder(dir.path()), files) << row.line; // nothing left beside it
    }
    // A list that cannot be read to its end is not used as far as it was read.
#ifdef _WIN32
    const std::string broken = dir.Write("names." + FailReadAfter(6) + ".lst", "a.txt\nb.txt\n");
#else
    const std::string broken = "/proc/self/mem"; // no byte of it can be read
#endif
    for (const std::string& list : {dir / "no.lst", broken}) {
        ToolResult r = Join({"-o", dir / "out.txt", "@" + list});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(Mentions(r.err, "cannot read the list of files " + list)) << r.err;
    }
}

// An output that has no canonical spelling (a device, a \\?\ name, a descriptor) is written by
// the name given, again and again; a \\?\ input is a name, no pattern.
TEST(JoinTool, OutputsWithoutACanonicalSpellingAreWrittenByTheirName) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
#ifdef _WIN32
    const std::string prefixed = "\\\\?\\" + WindowsPath(dir / "out.txt");
#endif
    const struct {
        std::string output, file, printed; // printed: what reaches standard output
    } rows[] = {
#ifdef _WIN32
        {"NUL", a, ""},
        {prefixed, a, ""},
        {prefixed, "\\\\?\\" + WindowsPath(a), ""},
#else
        {"/dev/stdout", a, "A"},
        {"/dev/fd/1", a, "A"},
        {dir / "out.txt", a, ""},
#endif
    };
    for (const auto& row : rows) {
#ifdef _WIN32
        ToolResult r = Join({"-o", row.output, row.file});
#else
        // Standard output a pipe, which has no name in the file system.
        ToolResult r =
            RunTool("/bin/bash", {"-o", "pipefail", "-c", "\"$0\" -o \"$1\" \"$2\" | cat",
                                  VELLUMOR_JOIN_TOOL, row.output, row.file});
#endif
        EXPECT_EQ(r.exitCode, 0) << row.output << "\n" << r.err;
        EXPECT_EQ(r.out, row.printed) << row.output;
    }
    EXPECT_EQ(ReadWholeFile(dir / "out.txt"), "A");
}

// A name cut to fit a path would be another file's: neither the output nor a file is cut.
// 521 bytes fit; from 522 on a name is refused.
TEST(JoinTool, NamesTooLongForAPathAreRefusedNotCut) {
    ScratchDir dir;
    std::string fits = PathOfLength(dir, 521);
    ASSERT_TRUE(WriteWholeFile(fits, "keep"));
    std::string a = dir.Write("a.txt", "A");
    for (std::string tooLong : {fits + "x", fits + std::string(98, 'x')}) {
        ToolResult r = Join({"-o", tooLong, a});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(Mentions(r.err, "cannot write " + tooLong + ": name too long")) << r.err;
        EXPECT_EQ(ReadWholeFile(fits), "keep");

        r = Join({"-o", dir / "out", tooLong, a});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(Mentions(r.err, "skipped " + tooLong + ": name too long")) << r.err;
        EXPECT_EQ(ReadWholeFile(dir / "out"), "A");
    }
    ToolResult r;
#ifndef _WIN32
    // Windows's ANSI file calls find no file beyond MAX_PATH; the C runtime opens the output.
    r = Join({"-o", dir / "out", fits, a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadWholeFile(dir / "out"), "keepA");
#endif
    r = Join({"-o", fits, a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadWholeFile(fits), "A");
}

#ifndef _WIN32
TEST(JoinTool, NamesAreThoseOfTheFilesLinksLeadTo) {
    ScratchDir dir;
    MakeFolder(dir / "real");
    std::string a = dir.Write("real/a.txt", "A");
    std::string b = dir.Write("real/b.txt", "B");
    ASSERT_EQ(symlink(a.c_str(), (dir / "real/link-to-a.txt").c_str()), 0);
    ASSERT_EQ(symlink((dir / "real").c_str(), (dir / "folder-link").c_str()), 0);
    ToolResult r = Join({"--html", "-o", dir / "out.html", dir / "real/link-to-a.txt",
                         dir / "folder-link/b.txt", dir / "real/./a.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string page = ReadWholeFile(dir / "out.html");
    EXPECT_TRUE(Mentions(page, "<A HREF=\"#00000000\">a.txt</A><BR>\n"
                               "<A HREF=\"#00000001\">b.txt</A><BR>\n"
                               "<A HREF=\"#00000002\">a.txt</A><BR>\n"))
        << page;
    // Also when the link comes after another name of its folder, which the folder's listing
    // then answers for.
    r = Join({"--html", "-o", dir / "out2.html", b, dir / "real/link-to-a.txt"});
    EXPECT_TRUE(
        Mentions(ReadWholeFile(dir / "out2.html"), "<A HREF=\"#00000001\">a.txt</A><BR>\n"));
    // A link among names of two folders: the first folder's listing, which showed a.txt,
    // never answers for it.
    MakeFolder(dir / "other");
    std::string linked = dir.Write("real/target.txt", "T");
    ASSERT_EQ(symlink(linked.c_str(), (dir / "other/a.txt").c_str()), 0);
    r = Join({"--html", "-o", dir / "out3.html", b, a, dir / "other/a.txt"});
    EXPECT_TRUE(
        Mentions(ReadWholeFile(dir / "out3.html"), "<A HREF=\"#00000002\">target.txt</A><BR>\n"));
    // An output reached through a link is the file the link leads to, and titled by it.
    std::string target = dir.Write("real/target.html", "old");
    ASSERT_EQ(symlink(target.c_str(), (dir / "link.html").c_str()), 0);
    r = Join({"--html", "-o", dir / "link.html", b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Mentions(ReadWholeFile(target), "<TITLE>target.html</TITLE>"));
    // The output reached through a folder link is still the output.
    r = Join({"-o", dir / "folder-link/a.txt", a, b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(a), "B");
}
#endif
