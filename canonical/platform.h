// What the canonical batch asks of the system: a path completed as the system completes it,
// a folder's listing, and one item's stored name. The batch itself (batch.cpp) is the same on
// every platform.
#pragma once

// What a folder's listing says of one of its items. A listing that shows an item as an empty
// file does not tell a pipe or a device from a file: only asking for the item itself does.
enum ListedKind : unsigned char {
    kListedFile,
    kListedFolder,
    kListedOther,
    kListedUnknown,
    kListedEmptyFile
};

// The path as the system reads it, absolute, into the PathBuffer full; false when it does
// not fit, or where it is a pattern that the system's lookup of one item would take for a
// search (* and ? on Windows).
bool FullPathOf(const char* path, char* full);

// The item at path, asked of the system: its kind, and its name as its folder stores it (a
// PathBuffer). kListedUnknown when it cannot be asked (it is missing, say); kListedOther for
// a link, which only resolving the whole path follows.
ListedKind AskStoredItem(const char* path, char* name);

// A folder's listing, item by item; null when the folder cannot be listed. An item's name
// stays good until the next item is asked for.
void* OpenListing(const char* folder);
bool NextListedItem(void* listing, const char** name, ListedKind* kind);
void CloseListing(void* listing);
