// Names whose characters end in the byte 0x5C (ソ 十 表 能 予) in every place of a path where
// that byte could be taken for a separator, through every route that builds a path from
// parts: a drop, the command line, the tool, the output's name, the settings file, Browse.
// And names with a character Shift_JIS lacks, which would be another file's by their nearest
// spelling (café as cafe), wherever they enter as the system's wide text.
#include <windows.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "filelist/filelist.h"
#include "harness.h"
#include "join/path_array.h"
#include "res/resource.h"
#include "support/drop.h"
#include "support/run_tool.h"

namespace {

struct Row {
    const char* root; // a drive's root, or null for the test's own folder
    const char* folder;
    const char* name;
    const char* settingsName; // the settings file of a program of that name
};

const Row kRows[] = {
    {nullptr, "\x97\x5c\x92\xe8\x95\x5c", "a.txt", "a.ini"}, // 予定表\a.txt
    {nullptr, "\x95\x5c", "b.txt", "b.ini"},                 // 表\b.txt
    {nullptr, "d", "\x83\x5c\x81\x5b\x83\x58.txt", "\x83\x5c\x81\x5b\x83\x58.ini"}, // d\ソース.txt
    {nullptr, "\x83\x5c", "\x8b\x40\x94\x5c", "\x8b\x40\x94\x5c.ini"},              // ソ\機能
    {"C:", "vellumor\x8f\x5c", "\x94\x5c.txt", "\x94\x5c.ini"}, // C:\vellumor十\能.txt
};

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return text;
}

class SjisPathsTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        GetCurrentDirectoryA(MAX_PATH, startFolder_);
    }
    void TearDown() override {
        DialogTest::TearDown();
        // The save dialog leaves the process in the folder it was last in.
        SetCurrentDirectoryA(startFolder_);
        for (const std::string& folder : madeAtRoot_)
            RemoveTree(folder);
    }
    // The row's folder, made; its canonical spelling is base + \ + folder.
    std::string MakeRowFolder(const Row& row, std::string* base) {
        *base = row.root != nullptr ? row.root : Canonical(scratch_.path());
        std::string folder = *base + "\\" + row.folder;
        EXPECT_TRUE(MakeFolder(folder)) << folder;
        if (row.root != nullptr)
            madeAtRoot_.push_back(folder);
        return folder;
    }
    std::vector<std::string> TakeEntries() {
        std::vector<std::string> entries = ListEntries();
        SendMessageA(List(), LB_RESETCONTENT, 0, 0);
        return entries;
    }
    std::vector<std::string> madeAtRoot_;
    char startFolder_[MAX_PATH] = "";
};

TEST_F(SjisPathsTest, NoTrailByteIsTakenForASeparator) {
    Open();
    std::string other = scratch_.Write("other.txt", "other");
    for (const Row& row : kRows) {
        std::string base;
        std::string folder = MakeRowFolder(row, &base);
        std::string file = folder + "\\" + row.name;
        ASSERT_TRUE(WriteWholeFile(file, "row")) << file;
        const std::vector<std::string> expected = {base + "\\" + row.folder + "\\" + row.name};
        SCOPED_TRACE(expected[0]);

        AddDroppedFiles(List(), MakeDrop({file}, true));
        EXPECT_EQ(TakeEntries(), expected) << "drop";
        std::wstring wide = Wide(file);
        const wchar_t* argv[] = {wide.c_str()};
        AddFilesByWideName(List(), argv, 1);
        EXPECT_EQ(TakeEntries(), expected) << "command line";

        ToolResult tool =
            RunTool(VELLUMOR_JOIN_TOOL, {"--html", "-o", scratch_ / "tool.html", file});
        EXPECT_EQ(tool.exitCode, 0);
        EXPECT_EQ(tool.err, "");
        std::string page = ReadWholeFile(scratch_ / "tool.html");
        EXPECT_NE(page.find(std::string("<A HREF=\"#00000000\">") + row.name + "</A><BR>\n"),
                  std::string::npos);
        EXPECT_NE(page.find("<TR><TD>\nrow</TD>"), std::string::npos) << page;

        // The output: an existing file, found among the entries by its canonical name.
        const char* entries[] = {expected[0].c_str(), other.c_str()};
        PathArray array{entries, 2};
        EXPECT_TRUE(JoinFiles(file.c_str(), FileListOfPaths(array), kJoinHtml));
        page = ReadWholeFile(expected[0]);
        EXPECT_NE(page.find(std::string("<TITLE>") + row.name + "</TITLE>"), std::string::npos);
        EXPECT_NE(page.find("<P>\n<A HREF=\"#00000001\">other.txt</A><BR>\n</P>"),
                  std::string::npos)
            << page;

        PathBuffer settings;
        EXPECT_TRUE(SettingsPathOf(file.c_str(), settings));
        EXPECT_EQ(settings, LowerAscii(base) + "\\" + row.folder + "\\" + row.settingsName);

        SetDlgItemTextA(dialog_, IDC_SAVENAME, file.c_str());
        std::string chosen;
        {
            WindowWatcher save([&](HWND w) { return IsMessageBoxOf(w, dialog_); },
                               [&](HWND w) {
                                   HWND field = GetDlgItem(w, cmb13);
                                   SetWindowTextA(field ? field : GetDlgItem(w, edt1), "new.txt");
                                   PostMessageA(w, WM_COMMAND, IDOK, 0);
                               });
            SendMessageA(dialog_, WM_COMMAND, IDC_BROWSE, 0);
            EXPECT_EQ(save.seen(), 1);
        }
        chosen = TextOf(Item(IDC_SAVENAME));
        std::string browsed = base + "\\" + row.folder + "\\new.txt";
        EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, chosen.c_str(), -1,
                                 browsed.c_str(), -1),
                  CSTR_EQUAL)
            << chosen;
    }
}

// The name field and Browse hand over wide text: OK refuses café.txt before anything is opened,
// and cafe.txt, the name it would be spelt as, keeps its bytes.
TEST_F(SjisPathsTest, ANameShiftJisCannotHoldIsRefusedNotTakenForAnother) {
    std::string cafe = scratch_.Write("cafe.txt", "keep");
    std::wstring typed = Wide(scratch_.path()) + L"\\caf\u00e9.txt";
    std::wstring browsed;
    std::string message;
    INT_PTR result = RunModalDialog([&](HWND dialog) {
        dialog_ = dialog;
        AddFiles({"a.txt"});
        SetDlgItemTextA(dialog, IDC_SAVENAME, cafe.c_str());
        {
            WindowWatcher save([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                               [&](HWND w) {
                                   HWND field = GetDlgItem(w, cmb13);
                                   SetWindowTextW(field ? field : GetDlgItem(w, edt1),
                                                  typed.c_str());
                                   PostMessageA(w, WM_COMMAND, IDOK, 0);
                               });
            SendMessageA(dialog, WM_COMMAND, IDC_BROWSE, 0);
        }
        WCHAR text[600] = L"";
        GetDlgItemTextW(dialog, IDC_SAVENAME, text, 600);
        browsed = text;
        WindowWatcher box([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                          [&](HWND w) {
                              message = MessageBoxText(w);
                              SendMessageA(w, WM_COMMAND, IDOK, 0);
                          });
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(ListEntries().size(), 1u);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    dialog_ = nullptr;
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, browsed.c_str(), -1,
                             typed.c_str(), -1),
              CSTR_EQUAL);
    // 保存名に Shift_JIS で書けない文字があります。
    EXPECT_NE(message.find(
                  "caf?.txt\x81\x76\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1"
                  "\x82\xc5\x82\xb5\x82\xbd\x81\x42\r\n\x95\xdb\x91\xb6\x96\xbc\x82\xc9 Shift_JIS"),
              std::string::npos)
        << message;
    EXPECT_EQ(ReadWholeFile(cafe), "keep");
}

} // namespace
