// Copying, moving, removing, linking, typing, archiving and trashing files
// and folders, and simple questions about them. Everything runs in-process
// (no shell and no command line), so a name holding quotes, "$", backquotes,
// backslashes, spaces, newlines or any other bytes is handled like any other,
// and results appear at their final place only when complete.
#pragma once

#include "SupportDefs.h"

class BPath;

// Whether anything exists at `path` (links followed).
bool LibExists(const char* path);
// Creates the folder with any missing parents (0775 less the umask) when
// nothing is at `path`. True when it was created; false when something was
// already there or the folder could not be made.
bool Libmkdir(const char* path);
// Makes `path` the working folder of the whole program. 0 on success and
// when nothing is at `path`; an error code when it cannot be entered.
int LibChangeDirectory(const char* path);

// Copies a file, link or folder tree with its modes, times and attributes
// (the file type included); an existing folder at `destination` receives
// the copy inside it.
bool LibCopy(const char* source, const char* destination);
// Moves by renaming on one volume; across volumes copies (as LibCopy) and
// removes the source only when the copy is complete. An existing folder at
// `destination` receives the source inside it; a file there is replaced.
bool LibMove(const char* source, const char* destination);
// Removes `path` with everything inside it; nothing there is success.
bool LibUnlink(const char* path);
// Assigns file types by content to `path` and everything inside it.
bool Libmimeset(const char* path);
// Places a link at `link` pointing to `target`, replacing a file or link.
bool LibSymLink(const char* target, const char* link);
// Writes the tar archive `archive` holding `input` (relative to the
// archive's folder, or absolute). The working folder is left alone.
bool LibTar(const char* input, const char* archive);

// Moves `path` into the Trash with a .trashinfo file. A taken name becomes
// "name copy", "name copy 1", ...; with `overwrite` the entry already
// trashed under the plain name is replaced.
bool LibTrash(const BPath& path, const bool& overwrite);
// Renames `path` aside within its folder to the first free name of "name
// copy", "name copy 1", ... (to keep it before it is replaced).
bool LibDuplicate(const char* path);

// Bytes of the entry (links followed at `path` itself, not inside a folder),
// with its attributes' sizes when asked, and everything inside a folder.
// The 32-bit form stops at INT32_MAX rather than wrap; callers that may see
// more than 2 GiB use LibEntrySize64.
int32 LibEntrySize(const char* path, bool withAttributes);
int64 LibEntrySize64(const char* path, bool withAttributes);

// Looks for `fileName` in each folder of the colon-separated list held by
// the environment variable `variable`, in order; the first that exists is
// stored in `location`. Empty fields are skipped rather than taken as the
// working folder.
bool LibFindEnvFile(const char* variable, const char* fileName, BPath& location);
