// Path splitting over Shift_JIS byte strings. Only a real folder separator splits: on
// Windows a backslash that is not the second half of a character, on POSIX a slash (0x2F,
// which is never a second half). Positions returned point into the caller's string.
#pragma once

// The separator this platform writes between a folder and a name.
extern const char kFolderSeparator;

// The byte at index is a folder separator of this platform.
bool IsFolderSeparatorAt(const char* path, unsigned index);

// The path's last byte is a folder separator (a drive's root ends so).
bool EndsWithFolderSeparator(const char* path);

// folder, a separator unless folder already ends with one, then name, into the PathBuffer
// out. False, and out empty, when that does not fit whole: a cut name could be another
// file's.
bool JoinFolderAndName(char* out, const char* folder, const char* name);

// The text after the last separator; the path itself when there is none.
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);

// Cuts the path at its last separator (a NUL replaces it) and gives the name after it.
// Without a separator the path stays whole and is also the name.
char* SplitFolderAndName(char* path);

// The last dot of the last component, or the end of the string when there is none.
const char* ExtensionStart(const char* path);
char* ExtensionStart(char* path);

// Cuts the extension off and gives it without its dot; "" (the end) when there was none.
char* StripExtension(char* path);

// The path holds * or ?, which Windows takes for a pattern. The ? of a \\?\ prefix is part of
// the name's spelling, no wildcard. (* and ? are never the second byte of a character.)
bool HasWildcard(const char* path);
// The item's attributes can be read: files and folders exist, anything else does not.
bool FileExists(const char* path);
