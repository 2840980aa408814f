// The control's default actions: what it does with a record its parent sends back.
// They change the list and its selection through list box messages only and send no
// selection-change command, so a parent never hears of its own request as a user's act.
#include "ddlb/actions.h"

#include "ddlb/list.h"

// step is -1 (up) or +1 (down). A move is a drag in small, so the parent may refuse it
// the same way.
// The moved entry is selected where it lands; one the list could not move, where it stayed.
static void MoveAndSelect(HWND list, int from, int to) {
    int moved = MoveListEntry(list, from, to);
    SelectListEntry(list, moved >= 0 ? moved : from);
}

static void MoveSelected(HWND list, int step) {
    int selected = SelectedListEntry(list);
    if (!IsListEntry(list, selected) || !IsListEntry(list, selected + step))
        return;
    if (DdlbNotify(list, DDLBN_BEGINDRAG, {selected}) != 0)
        return;
    // A move downwards lands one place before its target gap.
    MoveAndSelect(list, selected, step < 0 ? selected - 1 : selected + 2);
}

// The control itself only reports drops with a real source and target, but a record can
// come from anywhere: one that names no entry leaves the list and its selection alone.
static void DropEntry(HWND list, int from, int to) {
    int count = ListEntryCount(list);
    if (from < 0 || from >= count || to < 0 || to > count)
        return;
    MoveAndSelect(list, from, to);
}

// Backspace selects the entry before the deleted one, Delete the one that moved into its
// place.
static LRESULT OnKeyDownRecord(HWND list, WPARAM wParam, LPARAM lParam, const DDLBNOTIFY* record) {
    switch (record->wParam) {
    case VK_BACK:
        DeleteSelectedListEntry(list, ListNeighbor::Previous);
        return 0;
    case VK_DELETE:
        DeleteSelectedListEntry(list, ListNeighbor::Next);
        return 0;
    case VK_APPS:
        DdlbNotify(list, DDLBN_CONTEXTMENU);
        return 0;
    default:
        return DdlbPassOn(list, WM_NOTIFY, wParam, lParam);
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
        return DdlbPassOn(list, WM_NOTIFY, wParam, lParam);
    }
}

// Only the code decides: the control does not check who the record claims to come from.
LRESULT DdlbOnNotify(DDLBDRAGINFO*, HWND list, WPARAM wParam, LPARAM lParam) {
    const DDLBNOTIFY* record = reinterpret_cast<const DDLBNOTIFY*>(lParam);
    if (record == nullptr)
        return DdlbPassOn(list, WM_NOTIFY, wParam, lParam);
    switch (record->code) {
    case DDLBN_KEYDOWN:
        return OnKeyDownRecord(list, wParam, lParam, record);
    case DDLBN_SYSKEYDOWN:
        return OnSysKeyDownRecord(list, wParam, lParam, record);
    case DDLBN_RCLICK:
        DdlbNotify(list, DDLBN_CONTEXTMENU);
        return 0;
    case DDLBN_DROP:
        DropEntry(list, record->from, record->to);
        return 0;
    default:
        return DdlbPassOn(list, WM_NOTIFY, wParam, lParam);
    }
}
