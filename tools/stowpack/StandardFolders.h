// The standard folder names that a product description may use as a place
// ("Common Documentation") with their directory_which values.
#pragma once

#include "SupportDefs.h"

#include <string>

namespace StandardFolders {

// The value of a standard folder name (exact, case-sensitive).
bool ValueOf(const std::string& name, int32& which);
// Whether `which` is the value of a standard folder.
bool IsValue(int32 which);

} // namespace StandardFolders
