// Reports, from outside, what a user sees of a top-level window: its rectangle and state,
// each child control's rectangle, text and check state, and the entries of list boxes. The
// end-to-end test reads it to know where to point and click and what the list holds; it
// never changes the window. Texts are written as hexadecimal Shift_JIS bytes.
//
// usage: window_reader CAPTION OUTFILE [WAIT_MS [CONTROL_ID]]
//   Waits up to WAIT_MS (default 0) for a visible top-level window titled CAPTION and, when
//   CONTROL_ID is given, holding a control with that id (a program's window and its message
//   box may share a caption).
//   Exit status 0 found and written, 1 no such window, 2 usage or output error.
// usage: window_reader --hold
//   Stays until killed. Wine ends its desktop a while after the last program has gone and
//   centres the pointer when it makes the next one; a program that stays keeps the pointer
//   where the test put it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Hex(const char* text, int length) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < length; ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex.empty() ? "-" : hex;
}

// Wide text to the ANSI code page: the Shift_JIS bytes the program itself holds.
std::string AnsiHex(const wchar_t* wide, int length) {
    char text[3 * 4096 + 4];
    int bytes = length > 0 ? WideCharToMultiByte(CP_ACP, 0, wide, length, text, sizeof text,
                                                 nullptr, nullptr)
                           : 0;
    return Hex(text, bytes);
}

// GetWindowText does not ask a window of another process for its text (an edit field's
// contents, for one); WM_GETTEXT does, and Wine carries it across only as UTF-16.
std::string WindowText(HWND window) {
    wchar_t text[4096];
    LRESULT length = SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return AnsiHex(text, static_cast<int>(length));
}

void WriteRect(FILE* out, const char* prefix, const RECT& r) {
    std::fprintf(out, " %sx=%ld %sy=%ld %sw=%ld %sh=%ld", prefix, r.left, prefix, r.top, prefix,
                 r.right - r.left, prefix, r.bottom - r.top);
}

RECT ClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

void WriteListEntries(FILE* out, HWND list, int id) {
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::fprintf(out, "list id=%d count=%d top=%d itemheight=%d cursel=%d\n", id, count,
                 static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)),
                 static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)),
                 static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        if (length < 0 || length >= 4096) {
            std::fprintf(out, "item id=%d index=%d text=?\n", id, i);
            continue;
        }
        wchar_t text[4096];
        length =
            static_cast<int>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)));
        std::fprintf(out, "item id=%d index=%d text=%s\n", id, i, AnsiHex(text, length).c_str());
    }
}

struct ChildWalk {
    FILE* out;
    HWND parent;
};

BOOL CALLBACK WriteChild(HWND child, LPARAM param) {
    ChildWalk* walk = reinterpret_cast<ChildWalk*>(param);
    if (GetParent(child) != walk->parent)
        return TRUE;
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    int id = GetDlgCtrlID(child);
    RECT r{};
    GetWindowRect(child, &r);
    std::fprintf(walk->out, "control id=%d class=%s", id, cls);
    WriteRect(walk->out, "", r);
    WriteRect(walk->out, "c", ClientOnScreen(child));
    LONG style = GetWindowLongA(child, GWL_STYLE);
    std::fprintf(walk->out, " style=%08lx enabled=%d visible=%d", static_cast<unsigned long>(style),
                 IsWindowEnabled(child) ? 1 : 0, IsWindowVisible(child) ? 1 : 0);
    if (lstrcmpiA(cls, "Button") == 0)
        std::fprintf(walk->out, " check=%d",
                     static_cast<int>(SendMessageA(child, BM_GETCHECK, 0, 0)));
    std::fprintf(walk->out, " text=%s\n", WindowText(child).c_str());
    if (lstrcmpiA(cls, "ListBox") == 0)
        WriteListEntries(walk->out, child, id);
    return TRUE;
}

struct Search {
    const char* caption;
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    char caption[1024];
    if (!IsWindowVisible(window) || GetWindowTextA(window, caption, sizeof caption) < 0 ||
        lstrcmpA(caption, search->caption) != 0)
        return TRUE;
    if (search->controlId != 0 && GetDlgItem(window, search->controlId) == nullptr)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindVisibleWindow(const char* caption, int controlId, DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{caption, controlId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start >= waitMs)
            return search.found;
        Sleep(50);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--hold") == 0) {
        GetDesktopWindow();
        for (;;)
            Sleep(60000);
    }
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: window_reader CAPTION OUTFILE [WAIT_MS [CONTROL_ID]]\n");
        return 2;
    }
    DWORD waitMs = argc >= 4 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 0;
    int controlId = argc == 5 ? std::atoi(argv[4]) : 0;
    HWND window = FindVisibleWindow(argv[1], controlId, waitMs);
    FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return 2;
    if (!window) {
        std::fclose(out);
        return 1;
    }
    RECT r{};
    GetWindowRect(window, &r);
    std::fprintf(out, "window xid=%llu",
                 static_cast<unsigned long long>(
                     reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"))));
    WriteRect(out, "", r);
    WriteRect(out, "c", ClientOnScreen(window));
    std::fprintf(out, " style=%08lx exstyle=%08lx visible=%d zoomed=%d iconic=%d foreground=%d",
                 static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                 static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)),
                 IsWindowVisible(window) ? 1 : 0, IsZoomed(window) ? 1 : 0,
                 IsIconic(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0);
    std::fprintf(out, " text=%s\n", WindowText(window).c_str());
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        std::fprintf(out, "workarea");
        WriteRect(out, "", work);
        std::fprintf(out, "\n");
    }
    ChildWalk walk{out, window};
    EnumChildWindows(window, WriteChild, reinterpret_cast<LPARAM>(&walk));
    std::fclose(out);
    return 0;
}
