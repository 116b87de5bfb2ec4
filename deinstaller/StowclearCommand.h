// Stowclear from the command line: reads its record, searches a volume for
// the product's entries, then lists them or removes them. Returns the exit
// status (README).
#pragma once

#include "StowclearOptions.h"

enum StowclearExit : int {
    kExitRemoved = 0,
    kExitFailed = 1, // some entries could not be moved, or the search could not run
    kExitUsage = 2,
    kExitNothingFound = 3,
    kExitNotConfigured = 5,
    kExitInterrupted = 130, // Ctrl-C or a termination signal
};

// The version the deinstaller carries.
constexpr const char* kStowclearVersion = "1.3.1";

int RunStowclear(const StowclearOptions& options);
