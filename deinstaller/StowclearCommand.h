// Stowclear from the command line: reads its record, searches a volume for
// the product's entries, then lists them or removes them. Returns the exit
// status (README).
#pragma once

#include "ExitCodes.h"
#include "StowclearOptions.h"

// The version the deinstaller carries.
constexpr const char* kStowclearVersion = "1.3.1";

int RunStowclear(const StowclearOptions& options);
