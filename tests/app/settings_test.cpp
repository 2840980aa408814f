// The settings file: where it lives, how its values read, and its bytes after a run.
#include <climits>
#include <string>

#include "app/geometry.h"
#include "app/settings.h"
#include "app/window_state.h"
#include "harness.h"
#include "text/buffer.h"

namespace {

std::string PathFor(const char* program) {
    PathBuffer path;
    SettingsPathOf(program, path);
    return path;
}

TEST(SettingsPath, IsTheProgramPathWithIniForItsExtensionInLowerCase) {
    EXPECT_EQ(PathFor("C:\\Apps\\Tool.EXE"), "c:\\apps\\tool.ini");
    EXPECT_EQ(PathFor("C:\\My.Dir\\Tool"), "c:\\my.dir\\tool.ini");
    // 表 (0x95 0x5C) ends in a byte that is no separator; ア (0x83 0x41) and ｱ (0xB1) keep
    // their bytes where a blind fold would turn 0x41 into 0x61.
    EXPECT_EQ(PathFor("C:\\\x95\x5c\\\x83\x41\xb1.Exe"), "c:\\\x95\x5c\\\x83\x41\xb1.ini");
}

// A settings name cut to fit would be some other file beside the program.
TEST(SettingsPath, FitsAPathBufferWholeOrIsRefused) {
    std::string longest = "C:\\" + std::string(514, 'A') + ".EXE"; // 521 bytes
    PathBuffer path;
    EXPECT_TRUE(SettingsPathOf(longest.c_str(), path));
    EXPECT_EQ(path, "c:\\" + std::string(514, 'a') + ".ini");
    std::string bare = "C:\\" + std::string(515, 'A'); // no extension; ".ini" makes 522 bytes
    EXPECT_FALSE(SettingsPathOf(bare.c_str(), path));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(SettingsPathOf((longest + "X").c_str(), path));
}

class SettingsFileTest : public DialogTest {
  protected:
    std::string Ini(const std::string& body) { return scratch_.Write("v.ini", body); }
};

TEST_F(SettingsFileTest, ValuesReadLikeScannedNumbers) {
    std::string ini = Ini("[vellumor]\r\n"
                          "spaced=  250px\r\n"
                          "negative=-5\r\n"
                          "letters=abc\r\n"
                          "empty=\r\n"
                          "huge=99999999999\r\n"
                          "tiny=-99999999999\r\n"
                          "two=2\r\n"
                          "zero=0\r\n"
                          "[other]\r\n"
                          "elsewhere=7\r\n");
    const char* path = ini.c_str();
    EXPECT_EQ(ReadSettingInt("spaced", path, 1), 250);
    EXPECT_EQ(ReadSettingInt("negative", path, 1), -5);
    EXPECT_EQ(ReadSettingInt("letters", path, 1), 1);
    EXPECT_EQ(ReadSettingInt("empty", path, 1), 1);
    EXPECT_EQ(ReadSettingInt("absent", path, 1), 1);
    EXPECT_EQ(ReadSettingInt("elsewhere", path, 1), 1); // another section is not ours
    EXPECT_EQ(ReadSettingInt("huge", path, 1), INT_MAX);
    EXPECT_EQ(ReadSettingInt("tiny", path, 1), INT_MIN);
    EXPECT_TRUE(ReadSettingBool("two", path, false));
    EXPECT_FALSE(ReadSettingBool("zero", path, true));
    EXPECT_TRUE(ReadSettingBool("letters", path, true));
    EXPECT_FALSE(ReadSettingBool("letters", path, false));
    std::string missing = scratch_ / "none.ini";
    EXPECT_EQ(ReadSettingInt("negative", missing.c_str(), 9), 9);
}

TEST_F(SettingsFileTest, LoadReplacesOnlyWhatTheFileSupplies) {
    std::string ini =
        Ini(SettingsText({{kKeyTopmost, 2}, {kKeyHeight, "abc"}, {kKeyWidth, " 250px"}}));
    WindowSettings settings{false, false, 111, 222};
    LoadWindowSettingsFrom(ini.c_str(), &settings);
    EXPECT_TRUE(settings.topmost);
    EXPECT_FALSE(settings.maximized);
    EXPECT_EQ(settings.width, 250);
    EXPECT_EQ(settings.height, 222);
}

TEST_F(SettingsFileTest, BooleansAreWrittenAsOneOrZero) {
    std::string ini = scratch_ / "w.ini";
    EXPECT_TRUE(WriteSettingBool(kKeyTopmost.c_str(), ini.c_str(), true));
    EXPECT_TRUE(WriteSettingInt(kKeyWidth.c_str(), ini.c_str(), -12));
    EXPECT_TRUE(WriteSettingBool(kKeyTopmost.c_str(), ini.c_str(), false));
    EXPECT_EQ(ReadWholeFile(ini), SettingsText({{kKeyTopmost, 0}, {kKeyWidth, -12}}));
    // A folder that does not exist takes no file.
    std::string unwritable = scratch_ / "no\\such\\folder.ini";
    EXPECT_FALSE(WriteSettingInt(kKeyWidth.c_str(), unwritable.c_str(), 1));
}

TEST_F(SettingsFileTest, ARunWithoutAFileLeavesAllFourKeysInOrder) {
    Open();
    RECT window = WindowRect(dialog_);
    Close();
    EXPECT_EQ(ReadWholeFile(SettingsFile()), PlainWindowSettings(window));
}

TEST_F(SettingsFileTest, StoredValuesComeBackNormalized) {
    ASSERT_TRUE(WriteWholeFile(
        SettingsFile(),
        SettingsText({{kKeyTopmost, 2}, {kKeyMaximized, 1}, {kKeyHeight, 400}, {kKeyWidth, 500}})));
    Open();
    Close();
    EXPECT_EQ(
        ReadWholeFile(SettingsFile()),
        SettingsText({{kKeyTopmost, 1}, {kKeyMaximized, 1}, {kKeyHeight, 400}, {kKeyWidth, 500}}));
}

TEST_F(SettingsFileTest, AWindowClosedMinimizedSavesItsRestoredSizeNotMaximized) {
    Open();
    SIZE templateSize = TemplateWindowSize();
    ResizeWindowTo(dialog_, templateSize.cx + 30, templateSize.cy + 20);
    RECT window = WindowRect(dialog_);
    ShowWindow(dialog_, SW_MAXIMIZE);
    ShowWindow(dialog_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog_));
    Close();
    EXPECT_EQ(ReadWholeFile(SettingsFile()), PlainWindowSettings(window));
}

TEST_F(SettingsFileTest, AnUnreadableWindowKeepsTheStoredSize) {
    std::string ini = Ini(SettingsText({{kKeyHeight, 300}, {kKeyWidth, 280}}));
    HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    // The dialog's record for such a window: not on top, not maximised, its restored size.
    RECT restored;
    EXPECT_FALSE(GetRestoredRect(gone, &restored));
    SaveWindowSettingsTo(ini.c_str(),
                         WindowSettings{false, false, RectWidth(restored), RectHeight(restored)});
    EXPECT_EQ(
        ReadWholeFile(ini),
        SettingsText({{kKeyHeight, 300}, {kKeyWidth, 280}, {kKeyTopmost, 0}, {kKeyMaximized, 0}}));
}

} // namespace
