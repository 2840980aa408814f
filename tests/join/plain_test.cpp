#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstdio>

#include "text/path.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "join_fixture.h"

TEST(PlainJoin, ConcatenatesWrittenEntriesByteForByte) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "last line without break"));
    std::string gone = dir.Write("gone.txt", "deleted after listing");
    std::string empty = Canonical(dir.Write("empty.txt", ""));
    std::string binary(256, '\0');
    for (int i = 0; i < 256; ++i)
        binary[i] = static_cast<char>(i);
    std::string b = Canonical(dir.Write("b.bin", binary + "\r\n\x1a" + binary));
    std::remove(gone.c_str());

    JoinRun run;
    std::string out = dir / "out.txt";
    ASSERT_TRUE(run.Run(out, {a, gone, empty, b, a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out),
              "last line without break" + binary + "\r\n\x1a" + binary + "last line without break");
    EXPECT_EQ(run.skipped, std::vector<std::string>{"1:missing"});
}

TEST(PlainJoin, EmptyListLeavesTheOutputAlone) {
    ScratchDir dir;
    std::string out = dir.Write("out.txt", "keep me");
    JoinRun run;
    EXPECT_TRUE(run.Run(out, {}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "keep me");
    EXPECT_TRUE(run.Run(dir / "new.txt", {}, kJoinHtml));
    EXPECT_FALSE(PathExists(dir / "new.txt"));
}

TEST(PlainJoin, TheOutputFileIsNeverAnEntry) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "A"));
    std::string out = Canonical(dir.Write("out.txt", "old output, never read back"));
    std::string b = Canonical(dir.Write("b.txt", "B"));
    JoinRun run;
    // The output is typed by a relative, roundabout spelling of the same file.
    std::string roundabout = dir / (std::string("..") + kSep + FileNamePart(dir.path().c_str()) +
                                    kSep + "." + kSep + "out.txt");
    ASSERT_TRUE(run.Run(roundabout, {out, a, out, b}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "AB");
    EXPECT_EQ(run.skipped, (std::vector<std::string>{"0:output", "2:output"}));
}

TEST(PlainJoin, LargeFilesCrossEveryBlockIntact) {
    ScratchDir dir;
    std::string big;
    for (int i = 0; i < 700000; ++i)
        big += static_cast<char>('a' + i % 23);
    std::string a = Canonical(dir.Write("big1", big));
    std::string b = Canonical(dir.Write("small", "xyz"));
    std::string c = Canonical(dir.Write("big2", big.substr(3)));
    // More than the output buffer is left of it once the buffer is full: the system copies it.
    std::string huge = big + big + big + big;
    std::string d = Canonical(dir.Write("huge", huge));
    std::string out = dir / "out";
    JoinRun run;
    ASSERT_TRUE(run.Run(out, {b, a, b, c, b, d, b}, kJoinPlainText));
    EXPECT_TRUE(ReadWholeFile(out) == "xyz" + big + "xyz" + big.substr(3) + "xyz" + huge + "xyz");
}

TEST(PlainJoin, OutputThatCannotBeOpenedFailsAndReadsNothing) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "A"));
    JoinRun run;
    std::string out = dir / "no-such-folder" + kSep + "out.txt";
    EXPECT_FALSE(run.Run(out, {a}, kJoinPlainText));
    EXPECT_EQ(run.failure.kind, kJoinOutputFailed);
    EXPECT_NE(run.failure.error, 0u);
    EXPECT_FALSE(run.Run(dir.path(), {a}, kJoinHtml)); // a folder
    EXPECT_TRUE(run.skipped.empty());
}

TEST(PlainJoin, RelativeNewOutputIsCreatedInTheCurrentFolder) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "A"));
    std::string name = "vellumor-relative-output.txt";
    std::remove(name.c_str());
    JoinRun run;
    ASSERT_TRUE(run.Run(name, {a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(name), "A");
    std::remove(name.c_str());
}

#ifndef _WIN32
TEST(PlainJoin, AFailedWriteIsAFailure) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", std::string(300000, 'a')));
    JoinRun run;
    EXPECT_FALSE(run.Run("/dev/full", {a}, kJoinPlainText));
    EXPECT_EQ(run.failure.error, static_cast<unsigned long>(ENOSPC));
    EXPECT_FALSE(run.Run("/dev/full", {a}, kJoinHtml));
    EXPECT_FALSE(run.Run("/dev/full", {dir.Write("tiny", "x")}, kJoinPlainText)); // fails on close
    // A page of many buffers, whose writes fail while the next buffers fill.
    std::string spaces = Canonical(dir.Write("spaces.txt", std::string(1 << 20, ' ')));
    EXPECT_FALSE(run.Run("/dev/full", {spaces, spaces, spaces}, kJoinHtml));
    EXPECT_EQ(run.failure.error, static_cast<unsigned long>(ENOSPC));
}

// The system's copy of a large rest does not cross file systems: the join then goes on by
// reading, to the last byte.
TEST(PlainJoin, AFileOnAnotherFileSystemArrivesWhole) {
    struct stat shm, tmp;
    ScratchDir disk;
    if (stat("/dev/shm", &shm) != 0 || stat(disk.path().c_str(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev)
        GTEST_SKIP() << "needs /dev/shm on a file system of its own";
    ScratchDir memory("/dev/shm");
    std::string big;
    for (int i = 0; i < 3 << 20; ++i)
        big += static_cast<char>('a' + i % 23);
    for (const ScratchDir* entries : {&memory, &disk}) {
        const ScratchDir& output = entries == &disk ? memory : disk;
        std::string small = Canonical(output.Write("small", "xyz"));
        std::string entry = Canonical(entries->Write("big", big));
        JoinRun run;
        ASSERT_TRUE(run.Run(output / "out", {small, entry}, kJoinPlainText));
        EXPECT_TRUE(ReadWholeFile(output / "out") == "xyz" + big) << entries->path();
    }
}

TEST(PlainJoin, LetterCaseIsKeptOnACaseSensitiveFileSystem) {
    ScratchDir dir;
    std::string lower = Canonical(dir.Write("a.txt", "lower"));
    std::string upper = Canonical(dir.Write("A.txt", "upper"));
    JoinRun run;
    ASSERT_TRUE(run.Run(lower, {upper, lower}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(lower), "upper");
}

TEST(PlainJoin, AFileOfNoSizeIsReadToItsEnd) {
    // Files the system makes up as they are read report size 0 whatever they hold.
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "A"));
    JoinRun run;
    ASSERT_TRUE(run.Run(dir / "out", {a, "/proc/version", a}, kJoinPlainText));
    std::string version = ReadWholeFile("/proc/version");
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(ReadWholeFile(dir / "out"), "A" + version + "A");
}

TEST(PlainJoin, AHardLinkToTheOutputIsTheOutput) {
    ScratchDir dir;
    std::string out = dir.Write("out.txt", "old");
    std::string link = dir / "link.txt";
    ASSERT_EQ(::link(out.c_str(), link.c_str()), 0);
    std::string a = Canonical(dir.Write("a.txt", "A"));
    JoinRun run;
    ASSERT_TRUE(run.Run(out, {Canonical(link), a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "A");
    EXPECT_EQ(run.skipped, std::vector<std::string>{"0:output"});
}
#endif

TEST(PlainJoin, AnEntryThatCannotBeReadIsSkipped) {
    // A folder is no file; an item that refuses to be opened reads as no text.
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "folder"));
    UnreadableItem held(dir / "held");
    ASSERT_TRUE(held.made());
    std::string a = Canonical(dir.Write("a.txt", "A"));
    for (const char* name : {"folder", "held"}) {
        JoinRun run;
        ASSERT_TRUE(run.Run(dir / "out.txt", {Canonical(dir / name), a}, kJoinPlainText));
        EXPECT_EQ(ReadWholeFile(dir / "out.txt"), "A") << name;
        std::string why = name == std::string("folder") ? "0:not a file" : "0:unreadable";
        EXPECT_EQ(run.skipped, std::vector<std::string>{why}) << name;
        EXPECT_EQ(run.errors != 0, why == "0:unreadable") << name; // and the system's reason
    }
}

#ifdef _WIN32
TEST(PlainJoinWindows, OutputTypedInOtherLetterCaseIsExcluded) {
    ScratchDir dir;
    std::string out = Canonical(dir.Write("Out.txt", "old"));
    std::string a = Canonical(dir.Write("a.txt", "A"));
    std::string typed = out;
    for (char& c : typed)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    JoinRun run;
    ASSERT_TRUE(run.Run(typed, {a, out}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "A");
}

TEST(PlainJoinWindows, DistinctJapaneseNamesAreNotTakenForTheOutput) {
    ScratchDir dir;
    // ア.txt (0x83 0x41) and ヂ.txt (0x83 0x61) differ only in a second half.
    std::string a = Canonical(dir.Write("\x83\x41.txt", "a-file"));
    std::string di = Canonical(dir.Write("\x83\x61.txt", "di-file"));
    JoinRun run;
    ASSERT_TRUE(run.Run(a, {a, di}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(a), "di-file");
}
#endif
