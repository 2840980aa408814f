// Files pasted into the list: the shell's Copy leaves them on the clipboard as a drop.
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "harness.h"
#include "support/drop.h"

namespace {

class PasteTest : public DialogTest {
  protected:
    void TearDown() override {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
        DialogTest::TearDown();
    }

    // A key pressed in the list while the modifier keys are held, as the keyboard reports it.
    void Press(WPARAM key, const std::vector<int>& held = {}) {
        BYTE keys[256];
        GetKeyboardState(keys);
        for (int k : held)
            keys[k] |= 0x80;
        SetKeyboardState(keys);
        SendMessageA(List(), WM_KEYDOWN, key, 1);
        for (int k : held)
            keys[k] &= ~0x80;
        SetKeyboardState(keys);
    }

    int Count() const { return static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0)); }
};

TEST_F(PasteTest, CtrlVAndShiftInsertAddTheCopiedFilesAsADropDoesAndLeaveThemOnTheClipboard) {
    Open();
    std::string b = scratch_.Write("b.txt", "b"), a = scratch_.Write("a.txt", "a");
    std::vector<std::string> copied = {b, scratch_.path(), scratch_ / "gone.txt", a, b};
    ASSERT_TRUE(PutDropOnClipboard(dialog_, MakeDrop(copied, true)));
    const std::vector<std::string> expected = {Canonical(a), Canonical(b)};

    Press('V', {VK_CONTROL});
    EXPECT_EQ(ListEntries(), expected);

    // The clipboard's drop was read, not released: it is there to be pasted again.
    SendMessageA(List(), LB_RESETCONTENT, 0, 0);
    Press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(ListEntries(), expected);
}

TEST_F(PasteTest, OnlyThePasteKeysPasteAndOnlyFiles) {
    Open();
    std::string a = scratch_.Write("a.txt", "a");
    ASSERT_TRUE(PutDropOnClipboard(dialog_, MakeDrop({a})));
    Press('V');
    Press(VK_INSERT, {VK_CONTROL}); // copy, not paste
    EXPECT_EQ(Count(), 0);

    // A path copied as text names no file to take.
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, a.size() + 1);
    ASSERT_NE(text, nullptr);
    std::memcpy(GlobalLock(text), a.c_str(), a.size() + 1);
    GlobalUnlock(text);
    ASSERT_TRUE(OpenClipboard(dialog_));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Count(), 0);
}

} // namespace
