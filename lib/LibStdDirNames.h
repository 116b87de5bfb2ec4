// The names configuration records use for the standard folders ("User
// Boot", "Common Documentation", ...), paired with their directory_which
// values.
#pragma once

#include "FindDirectory.h"
#include "SupportDefs.h"

class LibString;

struct lib_dir_name {
    directory_which which;
    const char* name;
};

constexpr int32 kLibDirNameCount = 51;
// kLibDirNameCount rows in value order, then a row with value 0 and no name.
extern const lib_dir_name lib_be_dir_names[kLibDirNameCount + 1];

// Exact, case-sensitive lookups.
bool LibGetStdDirName(const char* name, directory_which& which);
bool LibGetStdDirName(const directory_which& which, LibString& name);
bool LibStdDirNameExists(const char* name);
