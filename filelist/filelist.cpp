#include "filelist/filelist.h"

#include <string>
#include <unordered_set>

#include "ddlb/ddlb.h"
#include "filelist/drop_names.h"
#include "canonical/canonical.h"
#include "text/buffer.h"
#include "text/sjis.h"
#include "text/wide_win32.h"

// LB_FINDSTRINGEXACT walks the whole list: asked for each file of a drop of 10,000, it takes
// minutes. So a drop indexes the entries first. A path equal byte for byte to an entry is
// listed; one whose key no entry has is new; only one sharing a key is left to the list's
// search. The key ignores more than the list's comparison does (width, kana type, accents),
// so two names the list calls equal always share one.
struct EntryIndex {
    LCID locale;
    std::unordered_set<std::string> texts;
    std::unordered_set<std::string> keys;
};

static const DWORD kKeyFlags =
    NORM_IGNORECASE | NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE | NORM_IGNORENONSPACE;

// Empty when no key can be made; an empty key is never taken as proof of anything.
static std::string KeyOf(LCID locale, const char* text) {
    WCHAR wide[kPathBufferSize];
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kPathBufferSize) == 0)
        return std::string();
    int size = LCMapStringW(locale, LCMAP_SORTKEY | kKeyFlags, wide, -1, nullptr, 0);
    if (size <= 0)
        return std::string();
    std::string key(static_cast<size_t>(size), '\0');
    if (LCMapStringW(locale, LCMAP_SORTKEY | kKeyFlags, wide, -1, reinterpret_cast<LPWSTR>(&key[0]),
                     size) != size)
        return std::string();
    return key;
}

static void IndexEntry(EntryIndex* index, const char* text) {
    index->texts.insert(text);
    index->keys.insert(KeyOf(index->locale, text));
}

// The locale is the list's own, the one its comparison of strings uses.
static void IndexEntries(EntryIndex* index, const ListBoxCalls& list) {
    index->locale = static_cast<LCID>(CallListBox(list, LB_GETLOCALE, 0, 0));
    int count = static_cast<int>(CallListBox(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        PathBuffer text;
        if (GetListEntryText(list, i, text, kPathBufferSize) < 0)
            continue;
        IndexEntry(index, text);
    }
}

static bool ListHasEntry(const ListBoxCalls& list, const char* canonical) {
    return CallListBox(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(canonical)) != LB_ERR;
}

static bool IsListed(const ListBoxCalls& list, const EntryIndex* index, const char* canonical) {
    if (index == nullptr)
        return ListHasEntry(list, canonical);
    if (index->texts.count(canonical) != 0)
        return true;
    std::string key = KeyOf(index->locale, canonical);
    if (!key.empty() && index->keys.count(key) == 0)
        return false;
    return ListHasEntry(list, canonical);
}

// Where the list's order puts text: a binary search over the entries as they stand, as a
// sorted list box does its own, but in natural order (2 before 10). Entries the user moved
// stay where they are; the search reads around them as the list box's would.
static int OrderedPosition(const ListBoxCalls& list, const char* text) {
    int low = 0;
    int high = static_cast<int>(CallListBox(list, LB_GETCOUNT, 0, 0));
    while (low < high) {
        int middle = low + (high - low) / 2;
        PathBuffer entry;
        GetListEntryText(list, middle, entry, kPathBufferSize);
        if (CompareNames(text, entry) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

static bool IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// index and batch, when given, serve one drop: index covers all entries and is kept up to
// date, batch remembers the last folder resolved and lists it. Where the listing already
// shows the file, its attributes are not asked for again.
static bool AddNewFile(const char* path, const ListBoxCalls& list, EntryIndex* index,
                       CanonicalBatch* batch) {
    PathBuffer canonical;
    bool file = false;
    bool stored = batch != nullptr && GetStoredCanonicalPath(batch, canonical, path, &file);
    if (!file && !IsFile(path))
        return false;
    // Resolving a path whole costs far more than the check: only files get that far.
    if (!stored && !GetCanonicalPath(canonical, path))
        return false;
    if (IsListed(list, index, canonical))
        return false;
    // At an index: LB_ADDSTRING would take the list box's own order, which counts digits as
    // characters.
    LRESULT added =
        CallListBox(list, LB_INSERTSTRING, static_cast<WPARAM>(OrderedPosition(list, canonical)),
                    reinterpret_cast<LPARAM>(canonical));
    if (added == LB_ERR || added == LB_ERRSPACE)
        return false;
    if (index != nullptr)
        IndexEntry(index, canonical);
    return true;
}

// The one intake of a batch of names (a drop, a paste, the command line): next gives the
// names one at a time, with *usable false for one that cannot be taken as it is.
typedef bool (*NextName)(void* source, char* name, bool* usable);

static void AddNamedFiles(HWND list, NextName next, void* source) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListBoxCalls calls = ListBoxCallsOf(list);
    EntryIndex index;
    IndexEntries(&index, calls);
    CanonicalBatch batch;
    BeginCanonicalBatch(&batch);
    PathBuffer name;
    bool usable;
    while (next(source, name, &usable)) {
        // A name too long for a PathBuffer is not taken cut short: it would name another file.
        // Whether the file exists is AddNewFile's to find out.
        if (usable)
            AddNewFile(name, calls, &index, &batch);
    }
    EndCanonicalBatch(&batch);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

static bool NextNameOfDrop(void* names, char* name, bool* usable) {
    return NextDropName(static_cast<DropNames*>(names), name, usable);
}

void AddFilesOfDrop(HWND list, HDROP drop) {
    DropNames names;
    if (!OpenDropNames(drop, &names))
        return;
    AddNamedFiles(list, NextNameOfDrop, &names);
    CloseDropNames(&names);
}

void AddDroppedFiles(HWND list, HDROP drop) {
    AddFilesOfDrop(list, drop);
    DragFinish(drop);
}

struct WideNames {
    const wchar_t* const* names;
    int count;
    int next;
};

static bool NextWideName(void* source, char* name, bool* usable) {
    WideNames* wide = static_cast<WideNames*>(source);
    if (wide->next >= wide->count)
        return false;
    *usable = WideToPath(wide->names[wide->next++], name);
    return true;
}

void AddFilesByWideName(HWND list, const wchar_t* const* names, int count) {
    WideNames source{names, count, 0};
    AddNamedFiles(list, NextWideName, &source);
}

bool AddFileToList(const char* path, HWND list) {
    return AddNewFile(path, ListBoxCalls{list, nullptr}, nullptr, nullptr);
}

void DeleteSelectedEntry(HWND list) {
    DeleteSelectedListEntry(list, ListNeighbor::Next);
}

static const ListBoxCalls& CallsOf(const void* owner) {
    return *static_cast<const ListBoxCalls*>(owner);
}

static int ListBoxCount(const void* owner) {
    return static_cast<int>(CallListBox(CallsOf(owner), LB_GETCOUNT, 0, 0));
}

static void ListBoxEntry(const void* owner, int index, char* path) {
    // Entries are canonical paths and always fit; anything longer is read as no file at all.
    GetListEntryText(CallsOf(owner), index, path, kPathBufferSize);
}

FileList FileListOfListBox(const ListBoxCalls& calls) {
    return FileList{ListBoxCount, ListBoxEntry, &calls, nullptr, nullptr};
}
