// The insertion line as it appears on the window, and scrolling while the cursor is held
// beyond the list.
#include <gtest/gtest.h>

#include "support/list_dialog.h"

namespace {

const std::vector<std::string> kFive = {"a", "b", "c", "d", "e"};

// The pixels of a gap's line at its left end, middle and right end.
std::vector<COLORREF> GapPixels(const ListDialog& d, int gap) {
    int y = (gap - d.TopIndex()) * d.ItemHeight();
    int w = d.Client().right;
    return {d.Pixel(0, y), d.Pixel(w / 2, y), d.Pixel(w - 1, y)};
}

bool AllDiffer(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] == b[i])
            return false;
    return true;
}

void OneLineFollowsTheCursor(bool scrolled) {
    ListDialog d(scrolled ? Widened(kFive) : kFive);
    if (scrolled) {
        ASSERT_TRUE(ScrollToTheRight(d.list()));
    }
    d.Press(d.RowPoint(0));
    Pump(); // the list box repaints its new selection first
    std::vector<COLORREF> clear2 = GapPixels(d, 2), clear4 = GapPixels(d, 4);

    d.MoveTo(d.RowPoint(2));
    EXPECT_TRUE(AllDiffer(GapPixels(d, 2), clear2));
    EXPECT_EQ(GapPixels(d, 4), clear4);

    d.MoveTo(d.RowPoint(4));
    EXPECT_EQ(GapPixels(d, 2), clear2);
    EXPECT_TRUE(AllDiffer(GapPixels(d, 4), clear4));

    // Beside the list there is no gap and so no line.
    POINT beside{d.Client().right + 30, d.RowPoint(4).y};
    d.MoveTo(beside);
    EXPECT_EQ(GapPixels(d, 2), clear2);
    EXPECT_EQ(GapPixels(d, 4), clear4);

    d.MoveTo(d.RowPoint(4));
    ASSERT_TRUE(AllDiffer(GapPixels(d, 4), clear4));
    d.Release(d.RowPoint(0)); // the own gap: the drag ends without a move
    EXPECT_EQ(d.Entries(), scrolled ? Widened(kFive) : kFive);
    EXPECT_EQ(GapPixels(d, 4), clear4);
}

void HoldingTheCursorBeyondTheListScrolls(bool scrolled) {
    ListDialog d(scrolled ? Widened(LetterEntries()) : LetterEntries(), 5);
    if (scrolled) {
        ASSERT_TRUE(ScrollToTheRight(d.list()));
    }
    d.Press(d.RowPoint(0));
    POINT below{d.Client().right / 2, d.Client().bottom + 15};
    d.MoveTo(below);
    EXPECT_EQ(d.Last(DDLBN_DRAGCURSOR)->to, -1);
    EXPECT_TRUE(PumpUntil([&] { return d.TopIndex() >= 3; }, 10000));

    int down = d.TopIndex();
    d.MoveTo(POINT{below.x, -15});
    EXPECT_TRUE(PumpUntil([&] { return d.TopIndex() < down - 1; }, 10000));

    // Back inside the list the scrolling stops.
    d.MoveTo(d.RowPoint(2));
    int settled = d.TopIndex();
    Pump(600);
    EXPECT_EQ(d.TopIndex(), settled);
    d.Release(POINT{below.x, -15});
    EXPECT_EQ(d.CountOf(DDLBN_ENDDRAG), 1);
    EXPECT_EQ(d.CountOf(DDLBN_DROP), 0);
}

} // namespace

// Also with entries wider than the list, scrolled to their ends: the line spans the list
// whatever part of the entries shows.
TEST(Marker, OneLineFollowsTheCursorAndLeavesNoTrace) {
    for (bool scrolled : {false, true}) {
        SCOPED_TRACE(scrolled ? "scrolled" : "not scrolled");
        OneLineFollowsTheCursor(scrolled);
    }
}

TEST(Marker, HoldingTheCursorBeyondTheListScrollsIt) {
    for (bool scrolled : {false, true}) {
        SCOPED_TRACE(scrolled ? "scrolled" : "not scrolled");
        HoldingTheCursorBeyondTheListScrolls(scrolled);
    }
}
