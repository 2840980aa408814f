#include "ddlb/extent.h"

#include <algorithm>
#include <cstring>

#include "ddlb/ddlb.h"
#include "text/buffer.h"

// The list box draws its text a pixel or two in from the left edge; as much again on the
// right keeps the last character clear of the edge.
constexpr int kTextMargin = 4;

// A device context with the list's own font, in which entries are measured.
struct Measure {
    HWND list;
    HDC dc;
    HGDIOBJ previousFont;
};

static bool BeginMeasure(HWND list, Measure* m) {
    m->list = list;
    m->dc = GetDC(list);
    if (m->dc == nullptr)
        return false;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(DdlbPassOn(list, WM_GETFONT, 0, 0));
    m->previousFont = font != nullptr ? SelectObject(m->dc, font) : nullptr;
    return true;
}

static void EndMeasure(Measure* m) {
    if (m->previousFont != nullptr)
        SelectObject(m->dc, m->previousFont);
    ReleaseDC(m->list, m->dc);
}

// What an entry of this text needs; 0 for none.
static int ExtentOf(const Measure& m, const char* text) {
    SIZE size;
    int length = static_cast<int>(std::strlen(text));
    if (length == 0 || !GetTextExtentPoint32A(m.dc, text, length, &size))
        return 0;
    return size.cx + kTextMargin;
}

static int CurrentExtent(HWND list) {
    return static_cast<int>(DdlbPassOn(list, LB_GETHORIZONTALEXTENT, 0, 0));
}

static void SetExtent(HWND list, int extent) {
    if (extent != CurrentExtent(list))
        DdlbPassOn(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

// Every entry measured: after a removal of the widest, or changes the control did not see.
// The entries are read straight from the list box's own procedure, as a drop of thousands
// adds them.
static void MeasureAllEntries(HWND list) {
    Measure m;
    if (!BeginMeasure(list, &m))
        return;
    ListBoxCalls calls = ListBoxCallsOf(list);
    int count = static_cast<int>(CallListBox(calls, LB_GETCOUNT, 0, 0));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        PathBuffer text;
        if (GetListEntryText(calls, i, text, kPathBufferSize) >= 0)
            widest = std::max(widest, ExtentOf(m, text));
    }
    EndMeasure(&m);
    SetExtent(list, widest);
}

static LRESULT Widen(HWND list, LRESULT added, LPARAM text) {
    Measure m;
    if (added < 0 || text == 0 || !BeginMeasure(list, &m))
        return added;
    int extent = ExtentOf(m, reinterpret_cast<const char*>(text));
    EndMeasure(&m);
    if (extent > CurrentExtent(list))
        SetExtent(list, extent);
    return added;
}

LRESULT DdlbOnAddString(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    return Widen(list, DdlbPassOn(list, LB_ADDSTRING, wParam, lParam), lParam);
}

LRESULT DdlbOnInsertString(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    return Widen(list, DdlbPassOn(list, LB_INSERTSTRING, wParam, lParam), lParam);
}

// Only the widest entry's going can narrow the list.
LRESULT DdlbOnDeleteString(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    int extent = 0;
    PathBuffer text;
    Measure m;
    if (GetListEntryText(list, static_cast<int>(wParam), text, kPathBufferSize) >= 0 &&
        BeginMeasure(list, &m)) {
        extent = ExtentOf(m, text);
        EndMeasure(&m);
    }
    LRESULT left = DdlbPassOn(list, LB_DELETESTRING, wParam, lParam);
    if (left >= 0 && extent >= CurrentExtent(list))
        MeasureAllEntries(list);
    return left;
}

LRESULT DdlbOnResetContent(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DdlbPassOn(list, LB_RESETCONTENT, wParam, lParam);
    SetExtent(list, 0);
    return result;
}

// Measured before drawing resumes, so that the list box updates its scroll bars once.
LRESULT DdlbOnSetRedraw(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    if (wParam)
        MeasureAllEntries(list);
    return DdlbPassOn(list, WM_SETREDRAW, wParam, lParam);
}

// Grown wider, the list box keeps its entries scrolled as far as before, beyond where its
// scroll bar now stands, or with no bar left to scroll them back when it is wider than its
// widest entry (seen under Wine). The bar's own position, which it keeps in range (0 without
// a bar), is given back to it.
LRESULT DdlbOnSize(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DdlbPassOn(list, WM_SIZE, wParam, lParam);
    SCROLLINFO bar{sizeof bar, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_HORZ, &bar);
    DdlbPassOn(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, bar.nPos), 0);
    return result;
}
