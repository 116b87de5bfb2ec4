// The dates of an entry as calendar values: local time when `local` is set,
// else universal time (seconds counted from 1 January 1970, 00:00).
// Linux keeps a creation time only where the file system records a birth
// time; elsewhere the time of the last status change stands in for it.
#pragma once

#include "LibDateTime.h"
#include "entry_ref.h"

class BEntry;

// An entry that cannot be set up gives 1 January 1970 (path form) or now
// (reference form), with a note on standard error.
LibDateTime LibCreationDate(const char* path, const bool& local);
LibDateTime LibCreationDate(const entry_ref& ref, const bool& local);
// An invalid entry gives 1 January 1970.
LibDateTime LibLastModifiedDate(const BEntry& entry, const bool& local);
LibDateTime LibLastModifiedDate(const char* path, const bool& local);
LibDateTime LibAccessedDate(const BEntry& entry, const bool& local);
