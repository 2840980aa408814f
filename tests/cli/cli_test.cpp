#include <gtest/gtest.h>

#include "support/run_tool.h"
#include "support/scratch.h"

namespace {

ToolResult Join(const std::vector<std::string>& arguments) {
    return RunTool(VELLUMOR_JOIN_TOOL, arguments);
}

bool Mentions(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
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
    ToolResult r = Join({"-o", out, dir / "missing.txt", a, again});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(out), "A");
    EXPECT_TRUE(Mentions(r.err, "missing.txt: no such file")) << r.err;
    EXPECT_TRUE(Mentions(r.err, "out.txt: it is the output file")) << r.err;
}

TEST(JoinTool, OutputThatCannotBeWrittenExitsOneNamingIt) {
    ScratchDir dir;
    std::string a = dir.Write("a.txt", "A");
    std::string out = dir / "no-folder" + kSep + "out.txt";
    ToolResult r = Join({"-o", out, a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Mentions(r.err, "cannot write " + out + ": ")) << r.err;
    EXPECT_TRUE(Mentions(r.err, "No such file or directory")) << r.err;
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

TEST(JoinTool, HelpAndVersion) {
    ToolResult help = Join({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Mentions(help.out, "usage: vellumor-join [--html] -o OUTPUT FILE..."));
    ToolResult version = Join({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(Mentions(version.out, "vellumor-join 1.")) << version.out;
}

TEST(JoinTool, ADashAloneOrAfterDoubleDashIsAFile) {
    ScratchDir dir;
    std::string odd = dir.Write("-odd", "odd");
    ToolResult r = Join({"-o", dir / "out", "--", odd});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(dir / "out"), "odd");
}

#ifndef _WIN32
#include <unistd.h>

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
    // The output reached through a folder link is still the output.
    r = Join({"-o", dir / "folder-link/a.txt", a, b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadWholeFile(a), "B");
}
#endif
