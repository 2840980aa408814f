// The platform's half of a canonical batch, and the folder listing both halves share.
#pragma once

struct CanonicalBatch;

// Splits the path of an ordinary file into the folder to resolve and the file's name as the
// folder stores it (both PathBuffers); false when the path must be resolved whole. *file
// tells whether what the split learnt shows that the path names an existing file, no folder.
bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name, bool* file);

// What a folder's listing says of one of its items. A listing that shows an item as an empty
// file does not tell a pipe or a device from a file: only asking for the item itself does.
enum ListedKind : unsigned char {
    kListedFile,
    kListedFolder,
    kListedOther,
    kListedUnknown,
    kListedEmptyFile
};

// What the listing of folder says of name, listing a few more items if it must; kListedUnknown
// when it cannot tell (yet): the first name asked for in a folder is never listed.
ListedKind ListedKindOf(CanonicalBatch* batch, const char* folder, const char* name);

// The platform's listing, one open at a time: it starts with the folder's first items noted
// through NoteListedItem; false when no item is left (the listing is then closed).
bool OpenListing(CanonicalBatch* batch, const char* folder);
bool ListNextItem(CanonicalBatch* batch);
void CloseListing(CanonicalBatch* batch);
void NoteListedItem(CanonicalBatch* batch, const char* name, ListedKind kind);
