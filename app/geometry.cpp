#include "app/geometry.h"

#include "res/resource.h"
#include "text/buffer.h"

namespace {

LayoutBaseline g_baseline; // zero until the dialog records it

// How one control follows a change of the client size.
struct LayoutRule {
    int controlId;
    BYTE moveX;      // moves right by the change of width
    BYTE moveY;      // moves down by the change of height
    BYTE growWidth;  // widens by the change of width
    BYTE growHeight; // grows taller by the change of height
};

// Every other control (the label, the format group and its radio buttons) stays put.
constexpr LayoutRule kLayoutRules[] = {
    {IDC_SAVENAME, 0, 0, 1, 0}, // stretches to the right
    {IDC_BROWSE, 1, 0, 0, 0},   // follows the right edge
    {IDC_FILELIST, 0, 0, 1, 1}, // stretches right and down
    {IDOK, 1, 1, 0, 0},         // follows the bottom-right corner
    {IDCANCEL, 1, 1, 0, 0},     // follows the bottom-right corner
};

constexpr int kLayoutRuleCount = sizeof kLayoutRules / sizeof kLayoutRules[0];

} // namespace

const LayoutBaseline& CurrentLayoutBaseline() {
    return g_baseline;
}

SIZE GetWindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{RectWidth(rect), RectHeight(rect)};
}

POINT GetWindowOrigin(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.left, rect.top};
}

void RecordLayoutBaseline(HWND dialog) {
    GetClientRect(dialog, &g_baseline.clientRect);
    SIZE size = GetWindowSize(dialog);
    g_baseline.minWidth = size.cx;
    g_baseline.minHeight = size.cy;
}

void DeferControlMove(HDWP& batch, HWND control, int dx, int dy, int dw, int dh) {
    POINT origin = GetWindowOrigin(control);
    HWND parent = GetParent(control);
    if (parent != nullptr && IsChild(parent, control))
        ScreenToClient(parent, &origin);
    SIZE size = GetWindowSize(control);
    // A moved control is drawn afresh: copying its old pixels left buttons half drawn at the
    // dialog's right and bottom edges until something repainted them.
    batch = DeferWindowPos(batch, control, nullptr, origin.x + dx, origin.y + dy, size.cx + dw,
                           size.cy + dh, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void LayoutOnSize(HWND dialog, WPARAM sizeType, int clientWidth, int clientHeight) {
    // The restore that follows is then measured against the size before minimising.
    if (sizeType == SIZE_MINIMIZED)
        return;
    // Before the baseline exists every control would be moved by the whole client size.
    if (g_baseline.minWidth == 0 && g_baseline.minHeight == 0)
        return;
    HDWP batch = BeginDeferWindowPos(kLayoutRuleCount);
    if (batch == nullptr)
        return; // the next resize then applies the whole change since the last one
    int dx = clientWidth - g_baseline.clientRect.right;
    int dy = clientHeight - g_baseline.clientRect.bottom;
    for (const LayoutRule& rule : kLayoutRules) {
        // A failed deferral is not tested for: the other rows and the closing call still
        // run, and as every move is relative, the next resize starts from where the
        // controls really are.
        DeferControlMove(batch, GetDlgItem(dialog, rule.controlId), rule.moveX ? dx : 0,
                         rule.moveY ? dy : 0, rule.growWidth ? dx : 0, rule.growHeight ? dy : 0);
    }
    EndDeferWindowPos(batch);
    g_baseline.clientRect.right = clientWidth;
    g_baseline.clientRect.bottom = clientHeight;
}

void FillMinTrackSize(MINMAXINFO* minMaxInfo) {
    if (minMaxInfo == nullptr)
        return;
    minMaxInfo->ptMinTrackSize.x = g_baseline.minWidth;
    minMaxInfo->ptMinTrackSize.y = g_baseline.minHeight;
}

void HitTestAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam) {
    LRESULT hit = DefWindowProcA(dialog, WM_NCHITTEST, wParam, lParam);
    // An empty part of the client area drags the window as the caption does.
    if (hit == HTCLIENT)
        hit = HTCAPTION;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, hit);
}

void PlaceCentredOn(HWND window, POINT centre, const RECT& workArea) {
    SIZE size = GetWindowSize(window);
    int x = centre.x - size.cx / 2;
    int y = centre.y - size.cy / 2;
    // Far edges first: a window larger than the work area keeps its left and top edges
    // visible, with the title bar and the system menu.
    if (x + size.cx > workArea.right)
        x = workArea.right - size.cx;
    if (x < workArea.left)
        x = workArea.left;
    if (y + size.cy > workArea.bottom)
        y = workArea.bottom - size.cy;
    if (y < workArea.top)
        y = workArea.top;
    HWND parent = GetParent(window);
    if (parent != nullptr && IsChild(parent, window)) {
        POINT origin{x, y};
        ScreenToClient(parent, &origin);
        x = origin.x;
        y = origin.y;
    }
    MoveWindowTo(window, x, y);
}

void PlaceNearCursor(HWND window) {
    POINT cursor;
    RECT workArea;
    if (!GetCursorPos(&cursor) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        return;
    PlaceCentredOn(window, cursor, workArea);
}

bool MoveWindowTo(HWND window, int x, int y) {
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != 0;
}

bool ResizeWindowTo(HWND window, int width, int height) {
    return SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER) != 0;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void SetTopmost(HWND window, bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                     SWP_NOSENDCHANGING);
}

bool GetRestoredRect(HWND window, RECT* rect) {
    WINDOWPLACEMENT placement;
    ZeroFill(&placement, sizeof placement);
    placement.length = sizeof placement;
    bool read = GetWindowPlacement(window, &placement) != 0;
    CopyRect(rect, &placement.rcNormalPosition);
    return read;
}
