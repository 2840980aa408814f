#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"
#include "text/buffer.h"
#include "text/path.h"

namespace {

// Spells a path with the platform's separator for each '|'.
std::string P(std::string s) {
    for (char& c : s)
        if (c == '|')
            c = kSep;
    return s;
}

std::string Split(const std::string& path, std::string* folder) {
    std::string buffer = path;
    std::string name = SplitFolderAndName(&buffer[0]);
    *folder = buffer.c_str();
    return name;
}

} // namespace

TEST(PathParts, FileNamePart) {
    EXPECT_STREQ(FileNamePart(P("C:|dir|a.txt").c_str()), "a.txt");
    EXPECT_STREQ(FileNamePart(P("C:|dir|").c_str()), "");
    EXPECT_STREQ(FileNamePart("abc"), "abc");
    EXPECT_STREQ(FileNamePart(""), "");
}

#ifdef _WIN32
TEST(PathParts, SecondHalfBackslashIsPartOfTheName) {
    // C:\表\a.txt and C:\ソ.txt: the 0x5C of 表 and ソ separates nothing.
    EXPECT_STREQ(FileNamePart("C:\\\x95\x5c\\a.txt"), "a.txt");
    EXPECT_STREQ(FileNamePart("C:\\\x83\x5c.txt"), "\x83\x5c.txt");
    std::string folder;
    EXPECT_EQ(Split("C:\\\x95\x5c\\a.txt", &folder), "a.txt");
    EXPECT_EQ(folder, "C:\\\x95\x5c");
    EXPECT_STREQ(ExtensionStart("C:\\\x95\x5c.d\\file"), "");
}
#endif

TEST(PathParts, SplitFolderAndName) {
    std::string folder;
    EXPECT_EQ(Split(P("C:|a.txt"), &folder), "a.txt");
    EXPECT_EQ(folder, "C:");
    EXPECT_EQ(Split(P("|a.txt"), &folder), "a.txt");
    EXPECT_EQ(folder, "");
    EXPECT_EQ(Split("abc", &folder), "abc");
    EXPECT_EQ(folder, "abc");
    EXPECT_EQ(Split("", &folder), "");
}

TEST(PathParts, Extensions) {
    EXPECT_STREQ(ExtensionStart(P("C:|dir.x|file").c_str()), "");
    EXPECT_STREQ(ExtensionStart("archive.tar.gz"), ".gz");
    EXPECT_STREQ(ExtensionStart(P("C:|d|.profile").c_str()), ".profile");
    EXPECT_STREQ(ExtensionStart("name."), ".");
    EXPECT_STREQ(ExtensionStart(""), "");

    std::string tool = P("C:|p|tool.exe");
    EXPECT_STREQ(StripExtension(&tool[0]), "exe");
    EXPECT_STREQ(tool.c_str(), P("C:|p|tool").c_str());
    std::string bare = P("C:|p.d|tool");
    EXPECT_STREQ(StripExtension(&bare[0]), "");
    EXPECT_STREQ(bare.c_str(), P("C:|p.d|tool").c_str());
}

TEST(FileExists, FilesAndFoldersExist) {
    ScratchDir dir;
    EXPECT_TRUE(FileExists(dir.path().c_str()));
    EXPECT_TRUE(FileExists(dir.Write("a.txt", "x").c_str()));
    EXPECT_FALSE(FileExists((dir / "missing.txt").c_str()));
    EXPECT_FALSE(FileExists(""));
}

TEST(PathParts, JoinFolderAndNameFitsWholeOrNotAtAll) {
    PathBuffer out;
    EXPECT_TRUE(JoinFolderAndName(out, P("C:|d").c_str(), "a.txt"));
    EXPECT_STREQ(out, P("C:|d|a.txt").c_str());
    EXPECT_TRUE(JoinFolderAndName(out, P("C:|").c_str(), "a.txt")); // a root ends with one
    EXPECT_STREQ(out, P("C:|a.txt").c_str());
#ifdef _WIN32
    // 表 and ソ end in 0x5C, which is no separator: one is still needed.
    EXPECT_TRUE(JoinFolderAndName(out, "C:\\\x95\x5c", "\x83\x5c"));
    EXPECT_STREQ(out, "C:\\\x95\x5c\\\x83\x5c");
#endif
    std::string folder(510, 'f');
    EXPECT_TRUE(JoinFolderAndName(out, folder.c_str(), "0123456789")); // 521 bytes
    EXPECT_EQ(std::string(out), folder + kSep + "0123456789");
    EXPECT_FALSE(JoinFolderAndName(out, folder.c_str(), "0123456789a"));
    EXPECT_STREQ(out, "");
}
