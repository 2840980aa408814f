#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "canonical/canonical.h"
#include "support/paths.h"
#include "support/scratch.h"
#include "text/path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string CurrentFolder() {
    char buffer[1024];
#ifdef _WIN32
    GetCurrentDirectoryA(sizeof buffer, buffer);
#else
    if (getcwd(buffer, sizeof buffer) == nullptr)
        return "";
#endif
    return buffer;
}

bool ChangeFolder(const std::string& path) {
#ifdef _WIN32
    return SetCurrentDirectoryA(path.c_str()) != 0;
#else
    return chdir(path.c_str()) == 0;
#endif
}

} // namespace

TEST(CanonicalPath, OneSpellingPerFile) {
    ScratchDir dir;
    std::string file = dir.Write("Name.Txt", "x");
    MakeFolder(dir / "sub");
    std::string canonical = Canonical(file);
    ASSERT_FALSE(canonical.empty());
    EXPECT_EQ(Canonical(dir / "sub" + kSep + ".." + kSep + "." + kSep + "Name.Txt"), canonical);
    EXPECT_EQ(Canonical(canonical), canonical);
    std::string saved = CurrentFolder();
    ASSERT_TRUE(ChangeFolder(dir / "sub"));
    EXPECT_EQ(Canonical(std::string("..") + kSep + "Name.Txt"), canonical);
    ChangeFolder(saved);
#ifdef _WIN32
    // The stored letter case wins over the typed one.
    std::string shouted = file;
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Canonical(shouted), canonical);
#endif
}

TEST(CanonicalPath, FailsEmptyForMissingItemsAndServesFolders) {
    ScratchDir dir;
    PathBuffer out;
    std::memset(out, 'X', sizeof out);
    EXPECT_FALSE(GetCanonicalPath(out, (dir / "missing.txt").c_str()));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(GetCanonicalPath(out, dir.path().c_str()));
    EXPECT_TRUE(FileExists(out));
    // In place: the result may overwrite its own input.
    PathBuffer same;
    std::strcpy(same, (dir / ".").c_str());
    EXPECT_TRUE(GetCanonicalPath(same, same));
    EXPECT_STREQ(same, out);
}

// A batch vouches for a file only from what it saw of the folder (the first name of a folder
// is looked up, later ones are listed); a missing name is left to the caller, and a folder is
// never vouched for as a file.
TEST(CanonicalPath, ABatchVouchesOnlyForFilesItSaw) {
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "sub"));
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i)
        files.push_back(dir.Write("n" + std::to_string(i) + ".txt", "x"));
    CanonicalBatch batch;
    BeginCanonicalBatch(&batch);
    PathBuffer out;
    for (const std::string& file : files) {
        bool isFile = false;
        EXPECT_TRUE(GetStoredCanonicalPath(&batch, out, file.c_str(), &isFile)) << file;
        EXPECT_TRUE(isFile) << file;
        EXPECT_EQ(out, Canonical(file));
    }
    bool isFile = true;
    EXPECT_FALSE(GetStoredCanonicalPath(&batch, out, (dir / "missing.txt").c_str(), &isFile));
    EXPECT_FALSE(isFile);
    EXPECT_STREQ(out, "");
    GetStoredCanonicalPath(&batch, out, (dir / "sub").c_str(), &isFile);
    EXPECT_FALSE(isFile);
    EndCanonicalBatch(&batch);
}

// A batch spells every name as resolving it whole does, however it is typed and whether it
// comes from a folder's lookup or, from the second name on, from its listing: relative names,
// "." and "..", second halves 0x5C and 0x7C in a folder's name and in a file's, a folder, a
// missing name.
TEST(CanonicalPath, ABatchSpellsEachNameAsResolvingItWhole) {
    ScratchDir dir;
    const std::string folder = "\x83\x5c";                // ソ
    const std::string names[] = {"a.txt", "\x95\x5c.txt", // 表
                                 "\x83\x7c.txt", "b"};    // ポ
    ASSERT_TRUE(MakeFolder(dir / folder));
    std::vector<std::string> spellings = {dir.path(), dir / "missing.txt", folder};
    for (const std::string& name : names) {
        dir.Write(name, "x");
        dir.Write(folder + kSep + name, "x");
        spellings.push_back(name);
        spellings.push_back(std::string(".") + kSep + name);
        spellings.push_back(folder + kSep + name);
        spellings.push_back(folder + kSep + ".." + kSep + name);
        spellings.push_back(dir / folder + kSep + name);
    }
    std::string saved = CurrentFolder();
    ASSERT_TRUE(ChangeFolder(dir.path()));
    CanonicalBatch batch;
    BeginCanonicalBatch(&batch);
    for (const std::string& spelling : spellings) {
        PathBuffer out;
        GetCanonicalPathInBatch(&batch, out, spelling.c_str());
        EXPECT_EQ(out, Canonical(spelling)) << spelling;
        EXPECT_EQ(out[0] == '\0', spelling == dir / "missing.txt") << spelling;
    }
    EndCanonicalBatch(&batch);
#ifdef _WIN32
    // A file at a drive's root named while the current folder is elsewhere on that drive: the
    // root is no folder of the batch's, as "C:" alone would be the current one.
    const std::string root = "C:\\vellumor-" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(WriteWholeFile(root, "r"));
    ASSERT_TRUE(ChangeFolder("C:\\windows"));
    BeginCanonicalBatch(&batch);
    for (int twice = 0; twice < 2; ++twice) { // looked up, then listed
        PathBuffer out;
        GetCanonicalPathInBatch(&batch, out, root.c_str());
        EXPECT_EQ(out, Canonical(root));
        EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, out, -1, root.c_str(), -1),
                  CSTR_EQUAL)
            << out;
    }
    EndCanonicalBatch(&batch);
    std::remove(root.c_str());
#endif
    ChangeFolder(saved);
}

#ifdef _WIN32
TEST(CanonicalPath, JapaneseNamesKeepEveryByte) {
    ASSERT_EQ(GetACP(), 932u) << "run under the Japanese code page";
    ScratchDir dir;
    // 表.txt and ソ\ア.txt: second halves 0x5C in a name and in a folder.
    std::string hyou = dir.Write("\x95\x5c.txt", "h");
    ASSERT_TRUE(MakeFolder(dir / "\x83\x5c"));
    std::string a = dir.Write("\x83\x5c\\\x83\x41.txt", "a");
    EXPECT_EQ(Canonical(hyou), Canonical(dir.path()) + "\\\x95\x5c.txt");
    EXPECT_EQ(Canonical(a), Canonical(dir.path()) + "\\\x83\x5c\\\x83\x41.txt");
}

#endif
