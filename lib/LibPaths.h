// Translating between paths, entry references and the folders the program
// works with.
#pragma once

#include "SupportDefs.h"
#include "entry_ref.h"

class BMessage;
class BPath;
class LibString;

// The reference of `path` (a link is the link itself); false when no entry
// can be set up for it (its folder does not exist).
bool LibGetEntryRef(const char* path, entry_ref& ref);
// The entry's full path; false (and an empty path) for an unusable reference.
bool LibGetFullPath(const entry_ref& ref, LibString& path);
bool LibGetFullPath(const entry_ref& ref, BPath& path);
// The reference of the entry's folder; an empty reference when the entry
// cannot be set up.
entry_ref LibGetParentRef(const entry_ref& ref);
// The folder's path joined with `name`.
bool LibGetPath(const entry_ref& folder, const char* name, BPath& path);
bool LibGetParentPath(const char* path, LibString& parent);
// Copies the leaf name of `path` into `leaf`, which holds B_FILE_NAME_LENGTH
// bytes (a longer name is cut at a character boundary). The second form
// takes the buffer's size and fails, leaving it empty, when the name does
// not fit.
bool LibGetChildName(const char* path, char* leaf);
bool LibGetChildName(const char* path, char* leaf, const int& size);
// The path a save panel chose: its "directory" reference joined with its
// "name" less leading and trailing spaces. Answers the length of that name;
// 0 when there is none (the path is then the folder). A name that is no leaf
// (holding "/", or "." or "..") counts as none.
int32 LibGetFilePath(const BMessage* message, BPath& path);
// The folder holding the running program's executable.
bool LibGetWorkingDirectory(BPath& path);
// The user settings folder. The buffer form fails, leaving the buffer
// empty, when the path does not fit in `size` bytes.
bool LibGetSettingsPath(LibString& path);
bool LibGetSettingsPath(char* path, const int& size);
