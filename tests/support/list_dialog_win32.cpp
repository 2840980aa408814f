#include "support/list_dialog.h"

#include <shlobj.h>
#include <windowsx.h>

#include <cstring>

namespace {

// A dialog template built in memory: the list box and the button, no font (the system one).
class TemplateWords {
  public:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Word(WORD value) { words_.push_back(value); }
    void Text(const wchar_t* text) {
        do
            words_.push_back(static_cast<WORD>(*text));
        while (*text++ != 0);
    }
    // Each item template starts on a DWORD boundary.
    void Align() {
        if (words_.size() % 2 != 0)
            words_.push_back(0);
    }
    void Item(DWORD style, WORD id, WORD classAtom, const wchar_t* title) {
        Align();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (WORD v : {0, 0, 10, 10}) // placed in pixels later
            Word(v);
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(title);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kListBoxAtom = 0x0083;

} // namespace

ListDialog::ListDialog(const std::vector<std::string>& entries, int visibleRows, bool attach) {
    TemplateWords t;
    t.Dword(WS_POPUP | WS_BORDER);
    t.Dword(0);
    t.Word(2); // items
    for (WORD v : {0, 0, 200, 200})
        t.Word(v);
    t.Word(0); // no menu
    t.Word(0); // the dialog class
    t.Text(L"");
    t.Item(LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
               WS_TABSTOP,
           kListId, kListBoxAtom, L"");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, kButtonId, kButtonAtom, L"B");
    dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr, Procedure,
                                         reinterpret_cast<LPARAM>(this));
    list_ = GetDlgItem(dialog_, kListId);
    button_ = GetDlgItem(dialog_, kButtonId);

    SetWindowPos(dialog_, HWND_TOPMOST, 100, 100, 420, 420, SWP_SHOWWINDOW);
    MoveWindow(list_, 20, 20, 240, 200, TRUE);
    RECT window, client;
    GetWindowRect(list_, &window);
    GetClientRect(list_, &client);
    int frame = (window.bottom - window.top) - client.bottom;
    MoveWindow(list_, 20, 20, 240, visibleRows * ItemHeight() + frame, TRUE);
    MoveWindow(button_, 300, 20, 80, 24, TRUE);
    if (attach)
        AttachDragDropListBox(list_);
    SetForegroundWindow(dialog_);
    Reset(entries);
}

void ListDialog::Reset(const std::vector<std::string>& entries) {
    if (GetCapture() != nullptr)
        ReleaseCapture();
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries)
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetFocus(list_);
    UpdateWindow(dialog_);
    Pump();
    sendBack = true;
    answers.clear();
    onRecord = nullptr;
    // Focus and set-up notices are not what the tests are about.
    heard.clear();
}

ListDialog::~ListDialog() {
    if (GetCapture() != nullptr)
        ReleaseCapture();
    DestroyWindow(dialog_);
    Pump(10);
}

INT_PTR CALLBACK ListDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return FALSE;
    }
    ListDialog* self = reinterpret_cast<ListDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return self->OnNotify(wParam, reinterpret_cast<const DDLBNOTIFY*>(lParam));
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == self->list_ && self->list_ != nullptr)
            self->heard.push_back(Heard{HIWORD(wParam), 0, DDLBNOTIFY{}});
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR ListDialog::OnNotify(WPARAM wParam, const DDLBNOTIFY* record) {
    heard.push_back(Heard{0, wParam, *record});
    if (onRecord)
        onRecord(*record);
    LRESULT answer = 0;
    auto handled = answers.find(record->code);
    if (handled != answers.end())
        answer = handled->second;
    else if (sendBack)
        answer = SendMessageA(record->hwndFrom, WM_NOTIFY, record->idFrom,
                              reinterpret_cast<LPARAM>(record));
    return SetDlgMsgResult(dialog_, WM_NOTIFY, answer);
}

std::vector<UINT> ListDialog::Codes(bool withDragCursor) const {
    std::vector<UINT> codes;
    for (const Heard& h : heard)
        if (h.command == 0 && (withDragCursor || h.record.code != DDLBN_DRAGCURSOR))
            codes.push_back(h.record.code);
    return codes;
}

int ListDialog::CountOf(UINT code) const {
    int n = 0;
    for (const Heard& h : heard)
        n += h.command == 0 && h.record.code == code;
    return n;
}

const DDLBNOTIFY* ListDialog::Last(UINT code) const {
    for (auto h = heard.rbegin(); h != heard.rend(); ++h)
        if (h->command == 0 && h->record.code == code)
            return &h->record;
    return nullptr;
}

int ListDialog::SelChanges() const {
    int n = 0;
    for (const Heard& h : heard)
        n += h.command == LBN_SELCHANGE;
    return n;
}

std::vector<std::string> ListDialog::Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < Count(); ++i) {
        LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, i, 0);
        std::string text(static_cast<size_t>(length) * 2 + 2, '\0');
        SendMessageA(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(std::strlen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

int ListDialog::Selected() const {
    return static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
}
int ListDialog::Count() const {
    return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
}
int ListDialog::ItemHeight() const {
    return static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
}
int ListDialog::TopIndex() const {
    return static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0));
}
RECT ListDialog::Client() const {
    RECT r;
    GetClientRect(list_, &r);
    return r;
}

POINT ListDialog::RowPoint(int row) const {
    return POINT{Client().right / 2, row * ItemHeight() + ItemHeight() / 2};
}

POINT ListDialog::ToScreen(POINT client) const {
    ClientToScreen(list_, &client);
    return client;
}

void ListDialog::MoveCursor(POINT client) {
    POINT screen = ToScreen(client);
    SetCursorPos(screen.x, screen.y);
    Pump(30);
}

static LPARAM Coordinates(POINT client) {
    return MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y));
}

LRESULT ListDialog::Press(POINT client) {
    MoveCursor(client);
    return SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, Coordinates(client));
}

LRESULT ListDialog::MoveTo(POINT client) {
    MoveCursor(client);
    return SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, Coordinates(client));
}

LRESULT ListDialog::Release(POINT client) {
    MoveCursor(client);
    return SendMessageA(list_, WM_LBUTTONUP, 0, Coordinates(client));
}

LRESULT ListDialog::RightClick(POINT client) {
    MoveCursor(client);
    SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, Coordinates(client));
    return SendMessageA(list_, WM_RBUTTONUP, 0, Coordinates(client));
}

static LPARAM KeyData(WPARAM key) {
    return 1 | static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), 0) << 16);
}

LRESULT ListDialog::Key(WPARAM key) {
    return SendMessageA(list_, WM_KEYDOWN, key, KeyData(key));
}

LRESULT ListDialog::SysKey(WPARAM key) {
    return SendMessageA(list_, WM_SYSKEYDOWN, key, KeyData(key) | (1 << 29)); // Alt held
}

COLORREF ListDialog::Pixel(int x, int y) const {
    HDC dc = GetDC(list_);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(list_, dc);
    return color;
}

static std::string Listed(const std::vector<std::string>& entries, int selected) {
    std::string text = "{";
    for (const std::string& e : entries)
        text += (text.size() > 1 ? " " : "") + e;
    return text + "} selected " + std::to_string(selected);
}

std::string DeletionMismatch(ListDialog& d, const DeleteCase& c,
                             const std::function<void()>& remove) {
    d.Reset(c.entries);
    SendMessageA(d.list(), LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
    remove();
    std::string expected = Listed(c.left, c.selectedAfter);
    std::string found = Listed(d.Entries(), d.Selected());
    if (found == expected)
        return "";
    return Listed(c.entries, c.selected) + ": left " + found + ", not " + expected;
}

std::vector<std::string> LetterEntries() {
    std::vector<std::string> letters;
    for (char c = 'a'; c <= 'z'; ++c)
        letters.push_back(std::string(1, c));
    return letters;
}

void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds)
            return condition();
        Pump(10);
    }
    return true;
}

std::vector<std::string> Widened(const std::vector<std::string>& entries) {
    std::vector<std::string> wide;
    for (const std::string& entry : entries)
        wide.push_back("C:\\" + std::string(80, 'w') + "\\" + entry);
    return wide;
}

bool ScrollToTheRight(HWND list) {
    SendMessageA(list, WM_HSCROLL, SB_RIGHT, 0);
    UpdateWindow(list);
    SCROLLINFO bar{sizeof bar, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(list, SB_HORZ, &bar) && bar.nPos > 0;
}
