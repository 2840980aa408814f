// Drags and right clicks driven with the real cursor, through a parent that sends every
// record back. Gap k lies at the top of entry k, so releasing anywhere on row k targets gap
// k, and releasing in the empty rows below the entries targets the gap after the last.
#include <gtest/gtest.h>

#include "support/list_dialog.h"

namespace {

const std::vector<std::string> kFive = {"a", "b", "c", "d", "e"};

struct DropCase {
    const char* what;
    int source;
    int releaseRow;
    std::vector<std::string> after;
    int selected;
    std::vector<UINT> codes; // not counting DDLBN_DRAGCURSOR
};

const std::vector<UINT> kDropped = {DDLBN_BEGINDRAG, DDLBN_DROP, DDLBN_ENDDRAG};
const std::vector<UINT> kNotDropped = {DDLBN_BEGINDRAG, DDLBN_ENDDRAG};

} // namespace

TEST(Mouse, ReleaseOverAGapMovesTheEntryThere) {
    const DropCase cases[] = {
        {"above", 3, 1, {"a", "d", "b", "c", "e"}, 1, kDropped},
        {"below", 0, 3, {"b", "c", "a", "d", "e"}, 2, kDropped},
        {"empty rows: at the end", 1, 6, {"a", "c", "d", "e", "b"}, 4, kDropped},
        {"own gap", 2, 2, kFive, 2, kNotDropped},
        {"gap below its own", 2, 3, kFive, 2, kDropped},
    };
    ListDialog d;
    // Each case also with entries wider than the list, scrolled to their ends.
    for (bool scrolled : {false, true}) {
        for (const DropCase& c : cases) {
            std::string what = std::string(c.what) + (scrolled ? ", scrolled" : "");
            d.Reset(scrolled ? Widened(kFive) : kFive);
            if (scrolled) {
                ASSERT_TRUE(ScrollToTheRight(d.list()));
            }
            d.Press(d.RowPoint(c.source));
            ASSERT_EQ(GetCapture(), d.list()) << what;
            d.MoveTo(d.RowPoint((c.source + c.releaseRow) / 2));
            d.MoveTo(d.RowPoint(c.releaseRow));
            d.Release(d.RowPoint(c.releaseRow));
            EXPECT_EQ(d.Entries(), scrolled ? Widened(c.after) : c.after) << what;
            EXPECT_EQ(d.Selected(), c.selected) << what;
            EXPECT_EQ(d.Codes(), c.codes) << what;
            EXPECT_NE(GetCapture(), d.list()) << what;
            if (d.Last(DDLBN_DROP) != nullptr) {
                EXPECT_EQ(d.Last(DDLBN_DROP)->from, c.source) << what;
                EXPECT_EQ(d.Last(DDLBN_DROP)->to, c.releaseRow > 5 ? 5 : c.releaseRow) << what;
            }
        }
    }
}

TEST(Mouse, PressSelectsAndReportsTheSelectionChange) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(2));
    EXPECT_EQ(d.Selected(), 2);
    // The change follows the question about the drag.
    ASSERT_GE(d.heard.size(), 2u);
    EXPECT_EQ(d.heard.front().record.code, static_cast<UINT>(DDLBN_BEGINDRAG));
    EXPECT_EQ(d.heard.back().command, static_cast<UINT>(LBN_SELCHANGE));
    d.Release(d.RowPoint(2));
}

TEST(Mouse, PressOnEmptySpaceStartsNoDragButIsStillReported) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(6));
    EXPECT_EQ(d.CountOf(DDLBN_BEGINDRAG), 0);
    EXPECT_GE(d.SelChanges(), 1);
    d.Release(d.RowPoint(0));
    EXPECT_TRUE(d.Codes().empty());
    EXPECT_EQ(d.Entries(), kFive);
}

TEST(Mouse, ReleaseOutsideTheListEndsTheDragWithoutADrop) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(1));
    POINT right{d.Client().right + 30, d.RowPoint(3).y};
    d.MoveTo(right);
    EXPECT_EQ(d.Last(DDLBN_DRAGCURSOR)->to, -1);
    d.Release(right);
    EXPECT_EQ(d.Codes(), kNotDropped);
    EXPECT_EQ(d.Entries(), kFive);
}

TEST(Mouse, ARefusedDragStillSelectsButTracksNothing) {
    ListDialog d(kFive);
    d.answers[DDLBN_BEGINDRAG] = 1;
    d.Press(d.RowPoint(1));
    EXPECT_EQ(d.Selected(), 1);
    EXPECT_GE(d.SelChanges(), 1);
    d.MoveTo(d.RowPoint(4));
    d.Release(d.RowPoint(4));
    EXPECT_EQ(d.Codes(), std::vector<UINT>{DDLBN_BEGINDRAG});
    EXPECT_EQ(d.Entries(), kFive);
}

TEST(Mouse, LosingTheFocusOrTheCaptureEndsTheDragOnce) {
    ListDialog d;
    for (bool byFocus : {true, false}) {
        d.Reset(kFive);
        d.Press(d.RowPoint(1));
        d.MoveTo(d.RowPoint(3));
        if (byFocus)
            SetFocus(d.button());
        else
            SetCapture(d.button());
        EXPECT_EQ(d.Codes(), kNotDropped) << (byFocus ? "focus" : "capture");
        // The button comes up later, over a gap: the drag is over, so nothing is dropped.
        d.Release(d.RowPoint(3));
        ReleaseCapture();
        EXPECT_EQ(d.Codes(), kNotDropped) << (byFocus ? "focus" : "capture");
        EXPECT_EQ(d.Entries(), kFive);
    }
}

TEST(Mouse, TheParentChoosesTheCursorDuringADrag) {
    ListDialog d(kFive);
    HCURSOR cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    d.Press(d.RowPoint(0));
    d.MoveCursor(d.RowPoint(2));
    d.answers[DDLBN_DRAGCURSOR] = reinterpret_cast<LRESULT>(cross);
    SendMessageA(d.list(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_EQ(GetCursor(), cross);
    // 0 leaves the cursor alone.
    d.answers[DDLBN_DRAGCURSOR] = 0;
    SetCursor(wait);
    SendMessageA(d.list(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_EQ(GetCursor(), wait);
    // A cursor request during the drag is asked of the parent as well.
    d.answers[DDLBN_DRAGCURSOR] = reinterpret_cast<LRESULT>(cross);
    LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SendMessageA(d.list(), WM_SETCURSOR, reinterpret_cast<WPARAM>(d.list()), hit);
    EXPECT_EQ(d.Last(DDLBN_DRAGCURSOR)->lParam, hit);
    EXPECT_EQ(d.Last(DDLBN_DRAGCURSOR)->to, 2);
    d.Release(d.RowPoint(0));
}

TEST(Mouse, DoubleClickAndWheelAreIgnoredDuringADrag) {
    ListDialog d(LetterEntries(), 5);
    d.Press(d.RowPoint(1));
    size_t before = d.heard.size();
    SendMessageA(d.list(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    SendMessageA(d.list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, d.RowPoint(3).y));
    EXPECT_EQ(d.TopIndex(), 0);
    EXPECT_EQ(d.Selected(), 1);
    EXPECT_EQ(d.heard.size(), before);
    d.Release(d.RowPoint(1));
    POINT over = d.ToScreen(d.RowPoint(2));
    SendMessageA(d.list(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(over.x, over.y));
    EXPECT_GT(d.TopIndex(), 0);
}

TEST(Mouse, RightClickOnAnEntrySelectsItThenAsksForTheMenu) {
    ListDialog d(kFive);
    d.RightClick(d.RowPoint(3));
    EXPECT_EQ(d.Selected(), 3);
    ASSERT_EQ(d.heard.size(), 3u);
    EXPECT_EQ(d.heard[0].command, static_cast<UINT>(LBN_SELCHANGE));
    EXPECT_EQ(d.heard[1].record.code, static_cast<UINT>(DDLBN_RCLICK));
    EXPECT_EQ(d.heard[1].record.index, 3);
    EXPECT_EQ(d.heard[2].record.code, static_cast<UINT>(DDLBN_CONTEXTMENU));
}

TEST(Mouse, RightClickOnEmptySpaceDoesNothing) {
    ListDialog d(kFive);
    SendMessageA(d.list(), LB_SETCURSEL, 1, 0);
    d.RightClick(d.RowPoint(6));
    EXPECT_EQ(d.Selected(), 1);
    EXPECT_TRUE(d.heard.empty());
}

TEST(Mouse, RightButtonDuringADragIsSwallowed) {
    ListDialog d(kFive);
    d.Press(d.RowPoint(0));
    d.heard.clear();
    d.RightClick(d.RowPoint(3));
    EXPECT_TRUE(d.Codes().empty());
    EXPECT_EQ(d.SelChanges(), 0);
    EXPECT_EQ(d.Selected(), 0);
    d.Release(d.RowPoint(0));
}
