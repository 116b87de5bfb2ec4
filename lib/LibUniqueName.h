// Fresh names for temporary files.
#pragma once

#include "BPath.h"

// Appends to `path` (the common temporary folder when `path` is empty) the
// name `prefix` followed, without separators, by a process-wide counter
// (1 to 10000, then 1 again), the process id and the time in seconds.
// Nothing is created.
void LibUniqueName(BPath& path, const char* prefix);
