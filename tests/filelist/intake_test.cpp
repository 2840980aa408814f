// Dropped files into a real sorted list box, and deletion of the selected entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "filelist/filelist.h"

#include "support/drop.h"
#include "support/list_dialog.h"
#include "support/paths.h"
#include "support/scratch.h"
#include "text/path.h"

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Entries as the sorted list orders them.
std::vector<std::string> SortedAsTheList(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& x, const std::string& y) {
        return lstrcmpiA(x.c_str(), y.c_str()) < 0;
    });
    return paths;
}

// The names as the program's command line gives them, one by one.
void AddWideNames(HWND list, const std::vector<std::wstring>& names) {
    std::vector<const wchar_t*> argv;
    for (const std::wstring& name : names)
        argv.push_back(name.c_str());
    AddFilesByWideName(list, argv.data(), static_cast<int>(argv.size()));
}

} // namespace

TEST(Intake, OnlyNewExistingFilesBecomeEntries) {
    ScratchDir dir;
    std::string a = dir.Write("alpha.txt", "a");
    std::string b = dir.Write("Bravo.txt", "b");
    ASSERT_TRUE(MakeFolder(dir / "folder"));
    dir.Write("folder\\inside.txt", "i");
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop({b, dir / "folder", dir / "missing.txt", a, Upper(a)}));
    // The folder's files are not taken in; the second spelling of alpha is the same file.
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{Canonical(a), Canonical(b)}));

    // A later drop of either spelling finds the entry already there.
    AddDroppedFiles(d.list(), MakeDrop({Upper(b), a}));
    EXPECT_EQ(d.Count(), 2);
    EXPECT_FALSE(AddFileToList(Upper(a).c_str(), d.list()));
    EXPECT_FALSE(AddFileToList((dir / "folder").c_str(), d.list()));
}

// Whether a file is already listed is the list's own case-insensitive search, also for an
// entry spelled otherwise than the shell spells the file today.
TEST(Intake, AFileIsListedWhenTheListFindsItsPathWhateverTheCase) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    ScratchDir dir;
    // Full-width "mix" and "wide": the same letters in upper case, or in half width.
    std::string mix = Canonical(dir.Write("\x82\x8d\x82\x89\x82\x98.txt", "m"));
    std::string wide = Canonical(dir.Write("\x82\x97\x82\x89\x82\x84\x82\x85.txt", "w"));
    std::string folder = mix.substr(0, mix.size() - 10);
    struct {
        std::string file, listed;
        bool added;
    } cases[] = {
        {mix, Upper(mix), false},
        {mix, folder + "\x82\x6c\x82\x68\x82\x77.txt", false},
        {wide, folder + "wide.txt", true},
    };
    ListDialog d;
    for (const auto& c : cases) {
        d.Reset({c.listed});
        bool listFindsIt = SendMessageA(d.list(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(c.file.c_str())) != LB_ERR;
        ASSERT_EQ(listFindsIt, !c.added) << c.listed;
        AddDroppedFiles(d.list(), MakeDrop({c.file}));
        EXPECT_EQ(d.Count(), c.added ? 2 : 1) << c.listed;
    }
}

TEST(Intake, EntriesGoWhereTheSortedListPutsThem) {
    ScratchDir dir;
    std::vector<std::string> shuffled;
    for (const char* name : {"d.txt", "b10.txt", "E.txt", "a.txt", "B9.txt", "c.txt", "b010.txt"})
        shuffled.push_back(dir.Write(name, name));
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop(shuffled));
    // Numbers by their value: the list box's own order had b010, b10, B9.
    std::vector<std::string> expected;
    for (const char* name : {"a.txt", "B9.txt", "b010.txt", "b10.txt", "c.txt", "d.txt", "E.txt"})
        expected.push_back(Canonical(dir / name));
    EXPECT_EQ(d.Entries(), expected);
}

TEST(Intake, ANameTooLongForAPathIsSkippedAndTheRestGoesOn) {
    ScratchDir dir;
    std::string file = dir.Write("kept.txt", "k");
    std::string tooLong = file + std::string(600, 'x');
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop({tooLong, file}));
    EXPECT_EQ(d.Entries(), std::vector<std::string>{Canonical(file)});
}

TEST(Intake, DoubleByteNamesArriveWhole) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    ScratchDir dir;
    // 表 ends in 0x5C, the byte of a backslash.
    std::string table = dir.Write("\x95\x5c.txt", "t");
    std::string japanese = dir.Write("\x93\xfa\x96\x7b\x8c\xea.txt", "j");
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop({japanese, table}));
    ASSERT_EQ(d.Count(), 2);
    std::vector<std::string> entries = d.Entries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), Canonical(table)), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), Canonical(japanese)), entries.end());
    // The name survived whole, not cut at its trailing 0x5C.
    std::string canonical = Canonical(table);
    EXPECT_EQ(canonical.substr(canonical.size() - 6), "\x95\x5c.txt");
}

TEST(Intake, FilesDroppedOnTheControlReachTheListThroughItsParent) {
    ScratchDir dir;
    std::string file = dir.Write("dropped.txt", "d");
    ListDialog d;
    d.onRecord = [&](const DDLBNOTIFY& r) {
        if (r.code == DDLBN_DROPFILES)
            AddDroppedFiles(r.hwndFrom, reinterpret_cast<HDROP>(r.wParam));
    };
    d.answers[DDLBN_DROPFILES] = 0;
    SendMessageA(d.list(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file})), 0);
    EXPECT_EQ(d.Entries(), std::vector<std::string>{Canonical(file)});
}

TEST(Intake, TheJoinReadsTheEntriesInListOrder) {
    ListDialog d({"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"});
    SendMessageA(d.list(), LB_SETCURSEL, 2, 0);
    d.SysKey(VK_UP);
    ListBoxCalls calls = ListBoxCallsOf(d.list());
    FileList list = FileListOfListBox(calls);
    ASSERT_EQ(list.count(list.owner), 3);
    PathBuffer path;
    std::vector<std::string> read;
    for (int i = 0; i < 3; ++i) {
        list.entry(list.owner, i, path);
        read.push_back(path);
    }
    EXPECT_EQ(read, (std::vector<std::string>{"C:\\a.txt", "C:\\c.txt", "C:\\b.txt"}));
}

TEST(Deletion, TheSelectedEntryGoesAndItsNeighbourIsSelected) {
    const DeleteCase cases[] = {
        {{"a"}, 0, {}, LB_ERR},
        {{"a", "b", "c"}, 0, {"b", "c"}, 0},
        {{"a", "b", "c"}, 1, {"a", "c"}, 1},
        {{"a", "b", "c"}, 2, {"a", "b"}, 1},
        {{"a", "b", "c"}, LB_ERR, {"a", "b", "c"}, LB_ERR},
    };
    ListDialog d;
    for (const DeleteCase& c : cases)
        EXPECT_EQ(DeletionMismatch(d, c, [&] { DeleteSelectedEntry(d.list()); }), "");
}

// A drop resolves each folder once and reads the names as stored; the entries must be what
// the shell makes of each path on its own, whatever the spelling and the order of folders.
TEST(Intake, EachDroppedNameGetsTheShellsSpelling) {
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "One"));
    ASSERT_TRUE(MakeFolder(dir / "Two"));
    std::string a = dir.Write("One\\Mixed.Txt", "a");
    std::string b = dir.Write("Two\\b.txt", "b");
    std::string c = dir.Write("One\\c.txt", "c");
    std::string d = dir.Write("top.txt", "d");
    std::vector<std::string> spellings = {
        Upper(a), dir / "Two\\..\\One\\.\\c.txt", b, dir / "one\\MIXED.TXT", d, Upper(c)};
    ListDialog dialog;
    AddDroppedFiles(dialog.list(), MakeDrop(spellings));
    std::vector<std::string> expected = {Canonical(a), Canonical(b), Canonical(c), Canonical(d)};
    std::sort(expected.begin(), expected.end(), [](const std::string& x, const std::string& y) {
        return lstrcmpiA(x.c_str(), y.c_str()) < 0;
    });
    EXPECT_EQ(dialog.Entries(), expected);
    // The stored spelling, not the typed one.
    EXPECT_EQ(FileNamePart(dialog.Entries()[1].c_str()), std::string("Mixed.Txt"));
}

// The shell hands over UTF-16 names (a drop from the desktop does); they arrive as the same
// Shift_JIS paths, and a name too long for the list is passed over.
TEST(Intake, WideNamesArriveAsTheirAnsiSpelling) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    ScratchDir dir;
    std::string hyou = dir.Write("\x95\x5c.txt", "h"); // 表.txt
    std::string a = dir.Write("a.txt", "a");
    std::vector<std::string> names = {hyou, dir / std::string(600, 'x'), a};
    ListDialog dialog;
    AddDroppedFiles(dialog.list(), MakeDrop(names, true));
    EXPECT_EQ(dialog.Entries(), (std::vector<std::string>{Canonical(a), Canonical(hyou)}));
}

namespace {

// An ANSI list box may report more than a double-byte text's length; this one always does,
// and by more than a path can hold.
LRESULT CALLBACK OverstatingList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(list, "test.original"));
    LRESULT result = CallWindowProcA(original, list, message, wParam, lParam);
    return message == LB_GETTEXTLEN && result >= 0 ? 2 * result + kPathBufferSize : result;
}

} // namespace

// Every reader of an entry (the join, the drop's duplicate check, the move) goes by the
// text itself, not by the reported length.
TEST(Intake, EntriesAreReadWholeWhenTheListOverstatesTheirLength) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write(std::string(200, 'a') + ".txt", "first "));
    std::string b = Canonical(dir.Write("b.txt", "second"));
    ListDialog d({a, b});
    SetPropA(d.list(), "test.original",
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(d.list(), GWLP_WNDPROC)));
    SetWindowLongPtrA(d.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OverstatingList));

    std::string output = dir / "out.txt";
    ListBoxCalls calls = ListBoxCallsOf(d.list());
    EXPECT_TRUE(JoinFiles(output.c_str(), FileListOfListBox(calls), kJoinPlainText));
    EXPECT_EQ(ReadWholeFile(output), "first second");

    AddDroppedFiles(d.list(), MakeDrop({a}));
    EXPECT_EQ(d.Count(), 2);

    SendMessageA(d.list(), LB_SETCURSEL, 0, 0);
    d.SysKey(VK_DOWN);
    SetWindowLongPtrA(d.list(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(GetPropA(d.list(), "test.original")));
    RemovePropA(d.list(), "test.original");
    EXPECT_EQ(d.Entries(), (std::vector<std::string>{b, a}));
}

// A drop of many files of one folder is read from the folder's listing: the same entries as
// one file at a time, whatever the spelling, and the folder's own folders stay out.
TEST(Intake, AWholeFolderDroppedGivesEachFileOnce) {
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "Sub.txt"));
    std::vector<std::string> names = {dir / "Sub.txt"}, expected;
    for (int i = 0; i < 80; ++i) {
        std::string name = "Note" + std::to_string(100 + i) + ".Txt";
        names.push_back(dir.Write(name, "n"));
        expected.push_back(Canonical(names.back()));
    }
    names.push_back(dir / "NOTE150.TXT");
    names.push_back(dir / "note179.txt");
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop(names));
    EXPECT_EQ(d.Entries(), expected);
}

TEST(Intake, NamesFromTheCommandLineAreTakenAsOneDropOfThem) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    ScratchDir dir;
    std::string b = dir.Write("b.txt", "b");
    std::string japanese = dir.Write("\x93\xfa\x96\x7b\x8c\xea.txt", "j"); // 日本語.txt
    std::string a = dir.Write("A.txt", "a");
    ASSERT_TRUE(MakeFolder(dir / "folder"));
    ListDialog d({Canonical(a)});
    AddWideNames(d.list(), {Wide(b), Wide(dir / "folder"), Wide(japanese), Wide(dir / "gone.txt"),
                            Wide(Upper(b)), Wide(a)});
    EXPECT_EQ(d.Entries(), SortedAsTheList({Canonical(a), Canonical(b), Canonical(japanese)}));
}

// The code page's nearest character is another name: café would be cafe, and ¥ a backslash,
// which makes a¥b.txt the file b.txt in the folder a.
TEST(Intake, ANameTheCodePageCannotHoldIsNotTakenForAnother) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    ScratchDir dir;
    dir.Write("cafe.txt", "not this one");
    ASSERT_TRUE(MakeFolder(dir / "a"));
    dir.Write("a\\b.txt", "nor this one");
    std::vector<std::wstring> names = {Wide(dir.path()) + L"\\caf\u00e9.txt",
                                       Wide(dir.path()) + L"\\a\u00a5b.txt"};
    for (const std::wstring& name : names) {
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    ListDialog d;
    AddWideNames(d.list(), names);
    EXPECT_EQ(d.Count(), 0);
    AddDroppedFiles(d.list(), MakeDrop(names));
    EXPECT_EQ(d.Count(), 0);
}

// What the folder's listing shows stands in for asking each file: a drop still takes exactly
// what one file at a time takes, empty files included, and nothing that is not a file.
TEST(Intake, ADropTakesWhatOneFileAtATimeTakes) {
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "Folder.txt"));
    std::vector<std::string> names = {dir / "Folder.txt", dir / "gone.txt"};
    for (int i = 0; i < 60; ++i) {
        std::string name = "F" + std::to_string(100 + i) + ".txt";
        names.push_back(dir.Write(name, i % 3 == 0 ? "" : "f"));
        if (i % 7 == 0)
            names.push_back(Upper(names.back()));
    }
    names.push_back(dir / "gone2.txt");
    names.push_back(dir / "Folder.txt");
    ListDialog one;
    for (const std::string& name : names)
        AddFileToList(name.c_str(), one.list());
    ASSERT_EQ(one.Count(), 60);
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop(names));
    EXPECT_EQ(d.Entries(), one.Entries());
}

// Names of two folders in one drop: what the listing of the first showed never answers for a
// name in the second, be it missing there or a folder.
TEST(Intake, AFoldersListingNeverAnswersForAnother) {
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "A"));
    ASSERT_TRUE(MakeFolder(dir / "B"));
    ASSERT_TRUE(MakeFolder(dir / "B\\two.txt"));
    std::vector<std::string> names, expected;
    // Any name after the first of a folder is looked for in the folder's listing.
    for (const char* name : {"A\\first.txt", "A\\one.txt", "A\\two.txt"}) {
        names.push_back(dir.Write(name, name));
        expected.push_back(Canonical(names.back()));
    }
    ListDialog d;
    for (const char* other : {"B\\one.txt", "B\\two.txt"}) {
        d.Reset({});
        names.push_back(dir / other);
        AddDroppedFiles(d.list(), MakeDrop(names));
        names.pop_back();
        EXPECT_EQ(d.Entries(), SortedAsTheList(expected)) << other;
    }
}

// A pattern names no file: it is never taken for whichever file matches it first.
TEST(Intake, WildcardsAddNothing) {
    ScratchDir dir;
    dir.Write("a.txt", "a");
    dir.Write("bc.txt", "bc");
    std::vector<std::string> patterns = {dir / "*.txt", dir / "?.txt"};
    ListDialog d;
    AddDroppedFiles(d.list(), MakeDrop(patterns));
    EXPECT_EQ(d.Count(), 0);
    AddWideNames(d.list(), {Wide(patterns[0]), Wide(patterns[1])});
    EXPECT_EQ(d.Count(), 0);
}

// Drawing is off while a drop fills the list; once it is back on, the scroll bar reaches the
// last entry of a drop longer than the list shows.
TEST(Intake, ADropLongerThanTheListScrollsToItsLastEntry) {
    ScratchDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back(dir.Write("n" + std::to_string(10 + i) + ".txt", "n"));
    ListDialog d; // 8 rows
    AddDroppedFiles(d.list(), MakeDrop(names));
    ASSERT_EQ(d.Count(), 30);
    // The paths are wider than the list: its horizontal scroll bar takes the last row.
    int rows = d.Client().bottom / d.ItemHeight();
    EXPECT_EQ(rows, 7);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(d.list(), SB_VERT, &info));
    EXPECT_EQ(info.nMax - info.nMin + 1, 30);
    EXPECT_EQ(info.nPage, static_cast<UINT>(rows));
    SendMessageA(d.list(), WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(d.TopIndex(), 30 - rows);
    ASSERT_TRUE(GetScrollInfo(d.list(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, 30 - rows);
}
