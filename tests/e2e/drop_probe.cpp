// A window with one list box that accepts dropped files, as the program's list does. Every
// name that arrives with WM_DROPFILES is appended, as the Shift_JIS bytes the shell gives,
// one per line, to the file named on the command line; the harness checks its drag source
// against it without needing the program itself. Closing the window ends the probe.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace {

const char* g_logPath = nullptr;
WNDPROC g_listProc = nullptr;

void LogDrop(HWND list, HDROP drop) {
    FILE* log = std::fopen(g_logPath, "ab");
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char name[MAX_PATH * 2];
        if (DragQueryFileA(drop, i, name, sizeof name) == 0)
            continue;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (log)
            std::fprintf(log, "%s\n", name);
    }
    // The marker line tells the reader that the whole drop has been written.
    if (log) {
        std::fprintf(log, "--\n");
        std::fclose(log);
    }
    DragFinish(drop);
}

LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DROPFILES) {
        LogDrop(list, reinterpret_cast<HDROP>(wp));
        return 0;
    }
    return CallWindowProcA(g_listProc, list, msg, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(frame, msg, wp, lp);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: drop_probe LOGFILE\n");
        return 2;
    }
    g_logPath = argv[1];
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VellumorDropProbe";
    RegisterClassA(&wc);
    HWND frame =
        CreateWindowExA(0, wc.lpszClassName, "drop probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                        100, 360, 240, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, "LISTBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT, 10, 10,
        320, 160, frame, reinterpret_cast<HMENU>(1028), instance, nullptr);
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    DragAcceptFiles(list, TRUE);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
