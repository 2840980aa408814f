// The file list: the strings of the list box are the list, in join order.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "ddlb/ddlb.h"
#include "join/join.h"

// Adds every dropped file that is new to the list, then releases the drop.
void AddDroppedFiles(HWND list, HDROP drop);
// The same for a drop handle that stays the caller's: the clipboard's belongs to the clipboard.
void AddFilesOfDrop(HWND list, HDROP drop);
// The same for names in UTF-16, as the command line holds them. A name that the ANSI code page
// cannot hold exactly is skipped, here as in a drop.
void AddFilesByWideName(HWND list, const wchar_t* const* names, int count);

// Adds the canonical path of an existing file unless the list has it already (any letter
// case); TRUE when an entry was added. Folders are never entries.
bool AddFileToList(const char* path, HWND list);

// Deletes the selected entry and selects the one now at its place (or the new last one).
void DeleteSelectedEntry(HWND list);

// The list box as the join run reads it, by way of calls (ListBoxCallsOf), which must outlive
// the run: a page reads every entry twice, and each message through the control costs a
// lookup of its own.
FileList FileListOfListBox(const ListBoxCalls& calls);
FileList FileListOfListBox(ListBoxCalls&&) = delete; // a temporary would not outlive the run
