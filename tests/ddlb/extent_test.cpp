// The list's horizontal extent: as wide as its widest entry, whichever way entries come and go.
#include <gtest/gtest.h>

#include <functional>

#include "support/list_dialog.h"
#include "text/buffer.h"

namespace {

// What the entry needs, measured as the list box draws it: in its font.
int TextWidth(HWND list, const std::string& text) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return size.cx;
}

int IndexOf(const ListDialog& d, const std::string& text) {
    return static_cast<int>(SendMessageA(d.list(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

int HorizontalPosition(HWND list) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_HORZ, &info);
    return info.nPos;
}

// The left end of the first row as drawn.
std::vector<COLORREF> FirstRowStart(const ListDialog& d) {
    UpdateWindow(d.list());
    std::vector<COLORREF> pixels;
    for (int x = 0; x < 40; ++x)
        pixels.push_back(d.Pixel(x, d.RowPoint(0).y));
    return pixels;
}

} // namespace

TEST(Extent, FollowsTheWidestEntry) {
    const std::string wide = "C:\\" + std::string(60, 'w'), wider = "C:\\" + std::string(90, 'w');
    ListDialog d({"a", "b"});
    HWND list = d.list();
    struct {
        const char* what;
        std::function<void()> change;
        std::string widest;
    } steps[] = {
        {"added",
         [&] { SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())); },
         wide},
        {"inserted",
         [&] { SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wider.c_str())); },
         wider},
        {"moved",
         [&] {
             SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(d, wider)), 0);
             d.SysKey(VK_DOWN);
         },
         wider},
        {"the widest deleted",
         [&] { SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(IndexOf(d, wider)), 0); },
         wide},
        {"a narrower one deleted", [&] { SendMessageA(list, LB_DELETESTRING, 0, 0); }, wide},
        // As a drop adds entries: straight to the list box's own procedure, drawing off.
        {"added past the control",
         [&] {
             SendMessageA(list, WM_SETREDRAW, FALSE, 0);
             ListBoxCalls calls = ListBoxCallsOf(list);
             CallListBox(calls, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wider.c_str()));
             SendMessageA(list, WM_SETREDRAW, TRUE, 0);
         },
         wider},
    };
    for (const auto& step : steps) {
        step.change();
        int extent = static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
        int needed = TextWidth(list, step.widest);
        EXPECT_GE(extent, needed) << step.what;
        EXPECT_LE(extent, needed + 8) << step.what;
    }

    // Scrolled to the end, then made wide enough for all: the entries show from their start,
    // as they do scrolled back by hand.
    SendMessageA(list, WM_HSCROLL, SB_RIGHT, 0);
    ASSERT_GT(HorizontalPosition(list), 0);
    RECT window;
    GetWindowRect(list, &window);
    MoveWindow(list, 20, 20, TextWidth(list, wider) + 40, window.bottom - window.top, TRUE);
    std::vector<COLORREF> shown = FirstRowStart(d);
    SendMessageA(list, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(shown, FirstRowStart(d));

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}
