// The control's default actions: what it does with a record its parent sends back.
// They change the list and its selection through list box messages only and send no
// selection-change command, so a parent never hears of its own request as a user's act.
#include <algorithm>

#include "ddlb/ddlb_internal.h"
#include "text/buffer.h"

static int SelectedIndex(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

static void Select(HWND list, int index) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int MoveListEntry(HWND list, int from, int to) {
    // Checked before anything is deleted: a bad target would otherwise lose the entry.
    int count = ListCount(list);
    if (from < 0 || from >= count || to < 0 || to > count)
        return -1;
    // An entry too long to read whole stays where it is rather than move cut short.
    PathBuffer text;
    if (GetListEntryText(list, from, text, kPathBufferSize) < 0)
        return -1;
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(from), 0);
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(from), 0);

    // Deleting the entry moved every gap below it up by one.
    int at = from < to ? to - 1 : to;
    // Insertion at an index, because a sorted list box would put an added string back
    // where the sort wants it instead of where the user dropped it.
    LRESULT inserted = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(at),
                                    reinterpret_cast<LPARAM>(text));
    if (data != 0 && inserted >= 0)
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(inserted), data);
    return at;
}

// Backspace selects the entry before the deleted one, Delete the one that moved into its
// place; both fall back to the nearest entry at either end of the list.
static void DeleteSelected(HWND list, bool selectBefore) {
    int selected = SelectedIndex(list);
    if (!IsEntry(list, selected))
        return;
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    int count = ListCount(list);
    if (count <= 0)
        return;
    int next = selectBefore ? std::max(0, std::min(selected - 1, count - 1))
                            : std::min(selected, count - 1);
    Select(list, next);
}

// step is -1 (up) or +1 (down). A move is a drag in small, so the parent may refuse it
// the same way.
static void MoveSelected(HWND list, int step) {
    int selected = SelectedIndex(list);
    if (!IsEntry(list, selected) || !IsEntry(list, selected + step))
        return;
    if (NotifyIndex(list, DDLBN_BEGINDRAG, selected) != 0)
        return;
    // A move downwards lands one place before its target gap.
    int to = step < 0 ? selected - 1 : selected + 2;
    Select(list, MoveListEntry(list, selected, to));
}

// The control itself only reports drops with a real source and target, but a record can
// come from anywhere: one that names no entry leaves the list and its selection alone.
static void DropEntry(HWND list, int from, int to) {
    int count = ListCount(list);
    if (from < 0 || from >= count || to < 0 || to > count)
        return;
    Select(list, MoveListEntry(list, from, to));
}

static LRESULT OnKeyDownRecord(HWND list, WPARAM wParam, LPARAM lParam, const DDLBNOTIFY* record) {
    switch (record->wParam) {
    case VK_BACK:
        DeleteSelected(list, true);
        return 0;
    case VK_DELETE:
        DeleteSelected(list, false);
        return 0;
    case VK_APPS:
        NotifyHeaderOnly(list, DDLBN_CONTEXTMENU);
        return 0;
    default:
        return PassOn(list, WM_NOTIFY, wParam, lParam);
    }
}

static LRESULT OnSysKeyDownRecord(HWND list, WPARAM wParam, LPARAM lParam,
                                  const DDLBNOTIFY* record) {
    switch (record->wParam) {
    case VK_LEFT:
    case VK_UP:
        MoveSelected(list, -1);
        return 0;
    case VK_RIGHT:
    case VK_DOWN:
        MoveSelected(list, +1);
        return 0;
    default:
        return PassOn(list, WM_NOTIFY, wParam, lParam);
    }
}

// Only the code decides: the control does not check who the record claims to come from.
LRESULT OnNotify(HWND list, WPARAM wParam, LPARAM lParam) {
    const DDLBNOTIFY* record = reinterpret_cast<const DDLBNOTIFY*>(lParam);
    if (record == nullptr)
        return PassOn(list, WM_NOTIFY, wParam, lParam);
    switch (record->code) {
    case DDLBN_KEYDOWN:
        return OnKeyDownRecord(list, wParam, lParam, record);
    case DDLBN_SYSKEYDOWN:
        return OnSysKeyDownRecord(list, wParam, lParam, record);
    case DDLBN_RCLICK:
        NotifyHeaderOnly(list, DDLBN_CONTEXTMENU);
        return 0;
    case DDLBN_DROP:
        DropEntry(list, record->from, record->to);
        return 0;
    default:
        return PassOn(list, WM_NOTIFY, wParam, lParam);
    }
}
