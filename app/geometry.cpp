#include "app/geometry.h"

#include <iterator>

#include "app/window_state.h"
#include "res/resource.h"

namespace {

// The client size the controls are laid out for: the template's, then that of the last
// handled WM_SIZE. Each resize moves them by the change since then.
SIZE g_lastHandledClientSize;
SIZE g_templateWindowSize;

// How a control follows a change of the client size: moved right by the change of width or
// down by that of height, made wider or taller by the same.
enum Anchor : unsigned {
    kMoveRight = 1u << 0,
    kMoveDown = 1u << 1,
    kGrowWidth = 1u << 2,
    kGrowHeight = 1u << 3,
};

struct LayoutRule {
    int controlId;
    unsigned anchors;
};

// Every other control (the label, the format group and its radio buttons) stays put.
constexpr LayoutRule kLayoutRules[] = {
    {IDC_SAVENAME, kGrowWidth},
    {IDC_BROWSE, kMoveRight},
    {IDC_FILELIST, kGrowWidth | kGrowHeight},
    {IDOK, kMoveRight | kMoveDown},
    {IDCANCEL, kMoveRight | kMoveDown},
};

int IfAnchored(const LayoutRule& rule, Anchor anchor, int change) {
    return (rule.anchors & anchor) != 0 ? change : 0;
}

// One deferred move and resize by the given differences; batch is replaced by the handle the
// system gives back.
void DeferControlMove(HDWP& batch, HWND control, int dx, int dy, int dw, int dh) {
    RECT rect{};
    GetWindowRect(control, &rect);
    POINT origin{rect.left, rect.top};
    HWND parent = GetParent(control);
    if (parent != nullptr && IsChild(parent, control))
        ScreenToClient(parent, &origin);
    // A moved control is drawn afresh: copying its old pixels left buttons half drawn at the
    // dialog's right and bottom edges until something repainted them.
    batch =
        DeferWindowPos(batch, control, nullptr, origin.x + dx, origin.y + dy, RectWidth(rect) + dw,
                       RectHeight(rect) + dh, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

} // namespace

void RecordTemplateSize(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    g_lastHandledClientSize = SIZE{client.right, client.bottom};
    g_templateWindowSize = GetWindowSize(dialog);
}

SIZE TemplateWindowSize() {
    return g_templateWindowSize;
}

void LayoutOnSize(HWND dialog, WPARAM sizeType, int clientWidth, int clientHeight) {
    // The restore that follows is then measured against the size before minimising.
    if (sizeType == SIZE_MINIMIZED)
        return;
    // Before the template size is recorded every control would move by the whole client size.
    if (g_templateWindowSize.cx == 0 && g_templateWindowSize.cy == 0)
        return;
    HDWP batch = BeginDeferWindowPos(std::size(kLayoutRules));
    if (batch == nullptr)
        return; // the next resize then applies the whole change since the last one
    int dx = clientWidth - g_lastHandledClientSize.cx;
    int dy = clientHeight - g_lastHandledClientSize.cy;
    for (const LayoutRule& rule : kLayoutRules) {
        // A failed deferral frees the batch, and with it every move deferred so far.
        DeferControlMove(batch, GetDlgItem(dialog, rule.controlId),
                         IfAnchored(rule, kMoveRight, dx), IfAnchored(rule, kMoveDown, dy),
                         IfAnchored(rule, kGrowWidth, dx), IfAnchored(rule, kGrowHeight, dy));
        if (batch == nullptr)
            return; // nothing moved: the next resize applies the whole change since the last one
    }
    if (EndDeferWindowPos(batch))
        g_lastHandledClientSize = SIZE{clientWidth, clientHeight};
}

void FillMinTrackSize(MINMAXINFO* minMaxInfo) {
    if (minMaxInfo == nullptr)
        return;
    minMaxInfo->ptMinTrackSize.x = g_templateWindowSize.cx;
    minMaxInfo->ptMinTrackSize.y = g_templateWindowSize.cy;
}
