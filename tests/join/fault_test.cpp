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
#endif

namespace {

TEST(Faults, AFailedRunChangesNothing) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", std::string(1000, 'a')));
    std::string b = Canonical(dir.Write("b.txt", std::string(300000, ' '))); // a page of buffers
    std::string c = Canonical(dir.Write("c.txt", "c"));
    const std::vector<std::string> entries = {a, b, c};
    const std::vector<std::string> gone = {dir / "gone1.txt", dir / "gone2.txt"};
    const std::size_t never = static_cast<std::size_t>(-1);
    struct {
        struct {
            bool reading;
            std::size_t after;
        } fault;
        bool outputExists;
        bool nothingJoined; // no fault: every entry is gone
    } rows[] = {
        {{false, 0}, true, false},       {{false, 0}, false, false}, // the first write
        {{false, 1500}, true, false},    {{false, 1500}, false, false}, // part-way
        {{false, 1500000}, true, false}, {{false, 1500000}, false, false}, // a page, in the background
        {{true, 0}, true, false},        {{true, 1500}, true, false}, // the first read, and inside b.txt
        {{true, 1500}, false, false},    {{true, never}, true, true},
        {{true, never}, false, true},
    };
    for (JoinFormat format : {kJoinPlainText, kJoinHtml}) {
        for (const auto& row : rows) {
            if (format == kJoinPlainText && row.fault.after >= 1000000)
                continue; // the plain join of these files is smaller
            SCOPED_TRACE(testing::Message()
                         << "format " << format << ", reading " << row.fault.reading << " after "
                         << row.fault.after << ", output exists " << row.outputExists);
            std::string out = dir / "out.txt";
            if (row.outputExists)
                ASSERT_TRUE(WriteWholeFile(out, "previous output"));
            else
                std::remove(out.c_str());
            std::vector<std::string> before = ListFolder(dir.path());
            InjectedFault fault(row.fault.reading, row.fault.after);
            JoinRun run;
            EXPECT_FALSE(run.Run(out, row.nothingJoined ? gone : entries, format));
            const std::string& failed =
                row.fault.reading && !row.nothingJoined ? (row.fault.after ? b : a) : out;
            EXPECT_EQ(run.failure.kind, row.nothingJoined   ? kJoinNothingJoined
                                        : row.fault.reading ? kJoinEntryFailed
                                                            : kJoinOutputFailed);
            EXPECT_EQ(run.failure.error, row.nothingJoined   ? 0
                                         : row.fault.reading ? kReadFault
                                                             : kDiskFull);
            EXPECT_EQ(std::string(run.failure.file), failed);
            EXPECT_EQ(ReadWholeFile(out), row.outputExists ? "previous output" : "<missing>");
            EXPECT_EQ(ListFolder(dir.path()), before);
            EXPECT_EQ(run.skipped.size(), row.nothingJoined ? 2u : 0u);
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
    JoinRun run;
    EXPECT_TRUE(run.Run(out, {a}, kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(out), "A");
    struct stat st;
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"a.txt", "out.txt"}));
}

} // namespace
