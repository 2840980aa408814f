// Test support (Windows): a real modeless dialog holding a real sorted list box (and a button
// to take the focus), topmost at a known place. The dialog records every WM_NOTIFY record and
// every WM_COMMAND from the list, in order, and answers the control the way a test asks.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ddlb/ddlb.h"
#include "support/drop.h"

constexpr int kListId = 1001;
constexpr int kButtonId = 1002;

// One thing the dialog heard: a copy of a DDLBNOTIFY (command == 0) or a list command.
struct Heard {
    UINT command;        // the WM_COMMAND notification code, 0 for a WM_NOTIFY
    WPARAM notifyWParam; // wParam of the WM_NOTIFY
    DDLBNOTIFY record;
};

class ListDialog {
  public:
    // Entries are added with LB_ADDSTRING, so they land in sorted order. visibleRows sets
    // the client height to that many entries exactly.
    explicit ListDialog(const std::vector<std::string>& entries = {}, int visibleRows = 8,
                        bool attach = true);
    ~ListDialog();
    ListDialog(const ListDialog&) = delete;
    ListDialog& operator=(const ListDialog&) = delete;

    // Fresh entries, no selection, the default answers and nothing heard: one dialog serves
    // many cases, as Wine takes seconds to take a shown window down without a window manager.
    void Reset(const std::vector<std::string>& entries);

    HWND dialog() const { return dialog_; }
    HWND list() const { return list_; }
    HWND button() const { return button_; }

    // How the dialog answers a record. A code in `answers` is handled here with that answer;
    // every other code is sent back to the control when sendBack is set, else dropped.
    bool sendBack = true;
    std::map<UINT, LRESULT> answers;
    // Runs for every record before it is answered (a record of DDLBN_DROPFILES, say).
    std::function<void(const DDLBNOTIFY&)> onRecord;

    std::vector<Heard> heard;
    std::vector<UINT> Codes(bool withDragCursor = false) const;
    int CountOf(UINT code) const;
    const DDLBNOTIFY* Last(UINT code) const;
    int SelChanges() const;

    std::vector<std::string> Entries() const;
    int Selected() const;
    int Count() const;
    int ItemHeight() const;
    int TopIndex() const;
    RECT Client() const;

    // The client point in the middle of entry (or gap) row `row` counted from the top of
    // the client area, and the same on screen.
    POINT RowPoint(int row) const;
    POINT ToScreen(POINT client) const;

    // Mouse: the control reads the cursor itself, so the cursor is put in place first and
    // the message carries the same client coordinates the list box's own procedure reads.
    void MoveCursor(POINT client);
    LRESULT Press(POINT client);
    LRESULT MoveTo(POINT client);
    LRESULT Release(POINT client);
    LRESULT RightClick(POINT client);
    LRESULT Key(WPARAM key);
    LRESULT SysKey(WPARAM key);

    // The color of a client pixel of the list, read from the window.
    COLORREF Pixel(int x, int y) const;

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    INT_PTR OnNotify(WPARAM wParam, const DDLBNOTIFY* record);

    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    HWND button_ = nullptr;
};

// One deletion of the selected entry: the entries before, the one selected (LB_ERR: none),
// what is left and the entry selected after.
struct DeleteCase {
    std::vector<std::string> entries;
    int selected;
    std::vector<std::string> left;
    int selectedAfter;
};
// Sets the list up as c says and deletes through remove; what differs from c's expectation,
// empty when nothing does.
std::string DeletionMismatch(ListDialog& d, const DeleteCase& c,
                             const std::function<void()>& remove);

// "a" to "z", one letter each: more entries than a short list shows.
std::vector<std::string> LetterEntries();

// The entries behind one long folder name: each wider than the list, in the same order.
std::vector<std::string> Widened(const std::vector<std::string>& entries);
// Scrolls the entries to their right ends; false when the list had nowhere to scroll.
bool ScrollToTheRight(HWND list);

// Dispatches messages (timers included) for about the given time.
void Pump(DWORD milliseconds = 50);
// Pumps until the condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds);
