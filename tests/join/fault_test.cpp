// Faults injected into the join's own writes and reads: a failed run says what failed, leaves
// a previous output exactly as it was (or no output, where there was none) and nothing beside
// it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "join_fixture.h"
#include "support/join_faults.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TEST(Faults, AFailedRunChangesNothing) {
    ScratchDir dir;
    const std::string readA = "a." + FailReadAfter(0) + ".txt",
                      readB = "b." + FailReadAfter(500) + ".txt";
    struct {
        std::string mark; // on the output's folder (writes), or the entry's name it fails
        int failed;       // the entry that fails, or -1 for the output
        bool outputExists;
    } rows[] = {
        {FailWriteAfter(0), -1, true},
        {FailWriteAfter(0), -1, false}, // the first write
        {FailWriteAfter(1500), -1, true},
        {FailWriteAfter(1500), -1, false}, // part-way
        {FailWriteAfter(1500000), -1, true},
        {FailWriteAfter(1500000), -1, false}, // in the background
        {readA, 0, true},
        {readB, 1, true}, // the first read, and inside b
        {readB, 1, false},
        {"gone", -1, true},
        {"gone", -1, false}, // nothing joined: no fault
    };
    int folders = 0;
    for (JoinFormat format : {kJoinPlainText, kJoinHtml}) {
        for (const auto& row : rows) {
            if (format == kJoinPlainText && row.mark == FailWriteAfter(1500000))
                continue; // the plain join of these files is smaller
            SCOPED_TRACE(testing::Message() << "format " << format << ", " << row.mark
                                            << ", output exists " << row.outputExists);
            // The output's folder takes the mark once all is in place: it marks every write.
            std::string folder = dir / ("row" + std::to_string(++folders));
            ASSERT_TRUE(MakeFolder(folder));
            std::string a = folder + kSep + (row.mark == readA ? readA : "a.txt");
            std::string b = folder + kSep + (row.mark == readB ? readB : "b.txt");
            ASSERT_TRUE(WriteWholeFile(a, std::string(1000, 'a')));
            ASSERT_TRUE(WriteWholeFile(b, std::string(300000, ' '))); // a page of buffers
            if (row.outputExists) {
                ASSERT_TRUE(WriteWholeFile(folder + kSep + "out.txt", "previous output"));
            }
            if (row.failed < 0 && row.mark != "gone") {
                std::string marked = folder + "-" + row.mark;
                ASSERT_EQ(std::rename(folder.c_str(), marked.c_str()), 0);
                folder = marked;
                a = folder + kSep + "a.txt";
                b = folder + kSep + "b.txt";
            }
            std::string out = folder + kSep + "out.txt";
            std::vector<std::string> entries = {Canonical(a), Canonical(b)};
            if (row.mark == "gone")
                entries = {folder + kSep + "gone1.txt", folder + kSep + "gone2.txt"};
            std::vector<std::string> before = ListFolder(folder);
            JoinRun run;
            EXPECT_FALSE(run.Run(out, entries, format));
            bool nothing = row.mark == "gone";
            EXPECT_EQ(run.failure.kind, nothing           ? kJoinNothingJoined
                                        : row.failed >= 0 ? kJoinEntryFailed
                                                          : kJoinOutputFailed);
            EXPECT_EQ(run.failure.error, nothing ? 0 : row.failed >= 0 ? kReadFault : kDiskFull);
            EXPECT_EQ(std::string(run.failure.file), row.failed >= 0 ? entries[row.failed] : out);
            EXPECT_EQ(ReadWholeFile(out), row.outputExists ? "previous output" : "<missing>");
            EXPECT_EQ(ListFolder(folder), before); // nothing left beside it
            EXPECT_EQ(run.skipped.size(), nothing ? 2u : 0u);
        }
    }
}

// A run that succeeds changes the output's content and nothing else about it.
TEST(Faults, AReplacedOutputKeepsWhatIsNotItsContent) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "A"));
    std::string out = Canonical(dir.Write("out.txt", "previous output"));
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesA(out.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(GetFileAttributesA(out.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    // A program that holds the output open without sharing its deletion keeps it from being
    // replaced: the run writes in place instead of failing.
    HANDLE held = CreateFileA(out.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    JoinRun run;
    EXPECT_TRUE(run.Run(out, {a}, kJoinPlainText));
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(out), "A");
    EXPECT_TRUE(GetFileAttributesA(out.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(run.Run(out, {a, a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "AA");
    EXPECT_TRUE(GetFileAttributesA(out.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    ASSERT_EQ(chmod(out.c_str(), 0640), 0);
    // A group other than the one a new file gets: any, for root; else one the user is in.
    gid_t groups[64];
    int count = getgroups(64, groups);
    gid_t group = geteuid() == 0 ? getegid() + 1 : getegid();
    for (int i = 0; i < count && group == getegid(); ++i)
        group = groups[i];
    ASSERT_EQ(chown(out.c_str(), static_cast<uid_t>(-1), group), 0);
    JoinRun run;
    EXPECT_TRUE(run.Run(out, {a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "A");
    struct stat st;
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_gid, group); // says nothing where the user is in no other group
#endif
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"a.txt", "out.txt"}));
}

} // namespace
