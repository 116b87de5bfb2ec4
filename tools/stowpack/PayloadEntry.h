// Adds one payload item to an installer's resources: the item zipped into a
// 'RAWT' resource named after it.
#pragma once

#include "BResources.h"

#include <string>

namespace PayloadEntry {

bool Add(BResources& resources, const std::string& path, int32 id, const std::string& name,
    int32 level, std::string& error);

} // namespace PayloadEntry
