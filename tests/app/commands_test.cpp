// OK, Cancel and Browse on the real dialog, run modally as the program runs it.
#include <iterator>

#include <windows.h>
#include <dlgs.h>

#include "harness.h"
#include "join/join.h"
#include "join/system_error.h"
#include "support/join_faults.h"
#include "res/resource.h"

namespace {

// 保存名
const std::string kSaveTitle = "\x95\xdb\x91\xb6\x96\xbc";
// 」に書き込めませんでした。
const std::string kCouldNotWrite =
    "\x81\x76\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd\x81\x42";

// ﾃｷｽﾄ ﾌｧｲﾙ (*.txt), HTML ﾌｧｲﾙ (*.htm; *.html), すべてのﾌｧｲﾙ (*.*)
const std::vector<std::string> kFileTypes = {
    "\xc3\xb7\xbd\xc4 \xcc\xa7\xb2\xd9 (*.txt)",
    "HTML \xcc\xa7\xb2\xd9 (*.htm; *.html)",
    "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9 (*.*)",
};

class CommandsTest : public DialogTest {
  protected:
    // The list is filled after the dialog is up, as the user fills it.
    void Fill(HWND dialog, const std::vector<std::string>& names) {
        dialog_ = dialog;
        AddFiles(names);
    }
    void Press(HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // The dialog ends inside RunModalDialog; it is gone when that returns.
    INT_PTR Run(const std::function<void(HWND)>& script) {
        INT_PTR result = RunModalDialog(script);
        dialog_ = nullptr;
        return result;
    }
};

TEST_F(CommandsTest, OkWithAnEmptyListEndsWithoutCreatingAFile) {
    std::string output = scratch_ / "out.txt";
    INT_PTR result = Run([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SAVENAME, output.c_str());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(PathExists(output));
    EXPECT_TRUE(PathExists(SettingsFile())); // the end of the dialog saved the settings
}

TEST_F(CommandsTest, OkJoinsTheListInItsOrderInTheChosenFormat) {
    std::string output = scratch_ / "out.txt";
    INT_PTR result = Run([&](HWND dialog) {
        Fill(dialog, {"b.txt", "a.txt"});
        SetDlgItemTextA(dialog, IDC_SAVENAME, output.c_str());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ReadWholeFile(output), "a.txt content\r\nb.txt content\r\n");

    std::string page = scratch_ / "out.html";
    result = Run([&](HWND dialog) {
        Fill(dialog, {"c.txt"});
        SetDlgItemTextA(dialog, IDC_SAVENAME, page.c_str());
        SendMessageA(GetDlgItem(dialog, IDC_FORMAT_HTML), BM_CLICK, 0, 0);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    std::string html = ReadWholeFile(page);
    EXPECT_EQ(html.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u) << html.substr(0, 80);
    EXPECT_NE(html.find("content"), std::string::npos);
}

TEST_F(CommandsTest, CancelEndsAtOnceAndWritesNothing) {
    std::string output = scratch_ / "out.txt";
    INT_PTR result = Run([&](HWND dialog) {
        Fill(dialog, {"a.txt"});
        SetDlgItemTextA(dialog, IDC_SAVENAME, output.c_str());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(PathExists(output));
}

TEST_F(CommandsTest, AnOutputThatCannotBeWrittenBringsTheWindowBackAsItWas) {
    std::string unwritable = scratch_ / "no such folder\\out.html";
    std::string fixed = scratch_ / "out.html";
    std::string title, message;
    bool visibleDuringMessage = false;
    std::vector<std::string> before, after;
    std::string nameAfter;
    bool htmlAfter = false;
    INT_PTR result = Run([&](HWND dialog) {
        Fill(dialog, {"a.txt", "b.txt"});
        before = ListEntries();
        SetDlgItemTextA(dialog, IDC_SAVENAME, unwritable.c_str());
        CheckRadioButton(dialog, IDC_FORMAT_TEXT, IDC_FORMAT_HTML, IDC_FORMAT_HTML);
        WindowWatcher box([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                          [&](HWND w) {
                              title = TextOf(w);
                              message = MessageBoxText(w);
                              visibleDuringMessage = IsWindowVisible(dialog) != 0;
                              SendMessageA(w, WM_COMMAND, IDOK, 0);
                          });
        Press(dialog, IDOK);
        EXPECT_EQ(box.seen(), 1);
        after = ListEntries();
        char name[600] = "";
        GetDlgItemTextA(dialog, IDC_SAVENAME, name, std::size(name));
        nameAfter = name;
        htmlAfter = IsDlgButtonChecked(dialog, IDC_FORMAT_HTML) == BST_CHECKED;
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));

        // The user corrects the name and tries again.
        SetDlgItemTextA(dialog, IDC_SAVENAME, fixed.c_str());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(title, "vellumor");
    EXPECT_NE(message.find("\x81\x75" + unwritable + kCouldNotWrite), std::string::npos) << message;
    // and why, in the system's words.
    char reason[256];
    DescribeSystemError(ERROR_PATH_NOT_FOUND, reason, sizeof reason);
    EXPECT_NE(message.find(kCouldNotWrite + "\r\n" + reason), std::string::npos) << message;
    EXPECT_TRUE(visibleDuringMessage);
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.size(), 2u);
    EXPECT_EQ(nameAfter, unwritable);
    EXPECT_TRUE(htmlAfter);
    EXPECT_EQ(ReadWholeFile(fixed).rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
}

// A file whose reading fails fails the join: the message names it, and the previous output and
// the list stay as they were.
TEST_F(CommandsTest, AFileThatCannotBeReadFailsTheJoinAndIsNamed) {
    std::string output = scratch_.Write("out.txt", "previous");
    std::string message;
    std::vector<std::string> before, after;
    INT_PTR result = Run([&](HWND dialog) {
        Fill(dialog, {"a." + FailReadAfter(5) + ".txt"}); // its reading fails part-way
        before = ListEntries();
        SetDlgItemTextA(dialog, IDC_SAVENAME, output.c_str());
        WindowWatcher box([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                          [&](HWND w) {
                              message = MessageBoxText(w);
                              SendMessageA(w, WM_COMMAND, IDOK, 0);
                          });
        Press(dialog, IDOK);
        after = ListEntries();
        EXPECT_TRUE(IsWindowVisible(dialog));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    char reason[256];
    DescribeSystemError(kReadFault, reason, sizeof reason);
    // 」を読み込めませんでした。
    EXPECT_EQ(message, "\x81\x75" + before.at(0) +
                           "\x81\x76\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82"
                           "\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42\r\n" +
                           reason);
    EXPECT_EQ(after, before);
    EXPECT_EQ(ReadWholeFile(output), "previous");
}

// Files gone before OK are named after the join; when none is left, the previous output stays
// and the window comes back, saying so in the program's own words.
TEST_F(CommandsTest, FilesLeftOutAreNamedAndAJoinOfNothingKeepsTheOutput) {
    // 次のファイルは連結しませんでした。 and 」: 見つかりません。
    const std::string heading =
        "\x8e\x9f\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x98\x41"
        "\x8c\x8b\x82\xb5\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
    const std::string missing =
        "\x81\x76: \x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42";
    for (bool allGone : {false, true}) {
        std::string output = scratch_.Write("out.txt", "last week");
        std::string message;
        std::vector<std::string> entries, before, after;
        INT_PTR result = Run([&](HWND dialog) {
            Fill(dialog, {"a.txt", "b.txt"});
            entries = ListEntries();
            for (std::size_t i = allGone ? 0 : 1; i < entries.size(); ++i)
                DeleteFileA(entries[i].c_str());
            SetDlgItemTextA(dialog, IDC_SAVENAME, output.c_str());
            WindowWatcher box([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                              [&](HWND w) {
                                  message = MessageBoxText(w);
                                  SendMessageA(w, WM_COMMAND, IDOK, 0);
                              });
            before = ListFolder(scratch_.path());
            Press(dialog, IDOK);
            after = ListFolder(scratch_.path());
            if (allGone) {
                EXPECT_TRUE(IsWindowVisible(dialog));
                EXPECT_EQ(ListEntries(), entries);
                Press(dialog, IDCANCEL);
            }
        });
        std::string b = "\r\n\x81\x75" + entries.at(1) + missing;
        if (allGone) {
            EXPECT_EQ(result, IDCANCEL);
            // 「out.txt」は元のままです。 連結できたファイルがありません。
            EXPECT_EQ(message.find("\x81\x75" + output + "\x81\x76\x82\xcd\x8c\xb3"), 0u)
                << message;
            EXPECT_NE(message.find("\x81\x75" + entries.at(0) + missing + b), std::string::npos);
            EXPECT_EQ(ReadWholeFile(output), "last week");
            EXPECT_EQ(after, before); // nothing left beside it
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(message, heading + b);
            EXPECT_EQ(ReadWholeFile(output), "a.txt content\r\n");
        }
    }
}

// The field takes names of any length; one that does not fit a path is refused before anything
// is opened, never cut into the name of another file.
TEST_F(CommandsTest, ANameTooLongForAPathIsRefusedNotCut) {
    std::string fits = PathOfLength(scratch_, 521);
    ASSERT_TRUE(WriteWholeFile(fits, "keep"));
    // 522 and 600 bytes, and 表 (0x95 0x5C) after the 521: a length counted in characters
    // would leave the field's text cut to the name that fits.
    const std::string tooLong[] = {fits + "x", fits + std::string(79, 'x'), fits + "\x95\x5c"};
    std::vector<std::string> before;
    INT_PTR result = Run([&](HWND dialog) {
        Fill(dialog, {"a.txt"});
        before = ListEntries();
        for (const std::string& name : tooLong) {
            SetDlgItemTextA(dialog, IDC_SAVENAME, name.c_str());
            std::string message;
            WindowWatcher box([&](HWND w) { return IsMessageBoxOf(w, dialog); },
                              [&](HWND w) {
                                  message = MessageBoxText(w);
                                  SendMessageA(w, WM_COMMAND, IDOK, 0);
                              });
            Press(dialog, IDOK);
            EXPECT_EQ(box.seen(), 1);
            // 保存名が長すぎます。
            EXPECT_NE(message.find(kCouldNotWrite + "\r\n\x95\xdb\x91\xb6\x96\xbc\x82\xaa\x92\xb7"),
                      std::string::npos)
                << message;
            EXPECT_EQ(ListEntries(), before);
            EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SAVENAME)), name);
            EXPECT_EQ(ReadWholeFile(fits), "keep");
        }
        SetDlgItemTextA(dialog, IDC_SAVENAME, fits.c_str());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ReadWholeFile(fits), "a.txt content\r\n");
    for (const std::string& name : tooLong)
        EXPECT_FALSE(PathExists(name));
}

TEST_F(CommandsTest, BrowseStartsFromTheTypedNameAndReturnsTheChoice) {
    std::string typed = scratch_ / "old.txt";
    std::string seenTitle, seenName, afterCancel, afterSave;
    std::vector<std::string> seenTypes;
    Open();
    SetDlgItemTextA(dialog_, IDC_SAVENAME, typed.c_str());
    auto isSaveDialog = [&](HWND w) { return IsMessageBoxOf(w, dialog_); };
    {
        WindowWatcher save(isSaveDialog, [&](HWND w) {
            seenTitle = TextOf(w);
            HWND types = GetDlgItem(w, cmb1); // the file types
            int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char type[128] = "";
                SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(type));
                seenTypes.push_back(type);
            }
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(dialog_, WM_COMMAND, IDC_BROWSE, 0);
        EXPECT_EQ(save.seen(), 1);
    }
    char text[600] = "";
    GetDlgItemTextA(dialog_, IDC_SAVENAME, text, std::size(text));
    afterCancel = text;
    {
        WindowWatcher save(isSaveDialog, [&](HWND w) {
            // The file name field: a combo box in the explorer-style dialog, else an edit.
            HWND field = GetDlgItem(w, cmb13);
            if (field == nullptr)
                field = GetDlgItem(w, edt1);
            seenName = TextOf(field);
            SetWindowTextA(field, "new.html");
            PostMessageA(w, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(dialog_, WM_COMMAND, IDC_BROWSE, 0);
        EXPECT_EQ(save.seen(), 1);
    }
    GetDlgItemTextA(dialog_, IDC_SAVENAME, text, std::size(text));
    afterSave = text;
    EXPECT_EQ(seenTitle, kSaveTitle);
    EXPECT_EQ(seenTypes, kFileTypes);
    EXPECT_EQ(afterCancel, typed);
    EXPECT_EQ(seenName, "old.txt");
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, afterSave.c_str(), -1,
                             (scratch_ / "new.html").c_str(), -1),
              CSTR_EQUAL)
        << afterSave;
}

} // namespace
