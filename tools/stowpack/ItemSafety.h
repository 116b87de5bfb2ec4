// The installer's rules for a payload item (ZipNames: member names, and
// links followed through the item's other links), applied to the item on
// disk before it is archived, so that the builder refuses what the installer
// would refuse, naming every entry at fault.
#pragma once

#include <string>
#include <vector>

class ItemSafety {
public:
    // One problem per entry the installer would refuse, each naming it by
    // its path (a link with its target); none for a sound item. `leaf` is
    // the name the archive gives the item.
    static std::vector<std::string> Check(const std::string& path, const std::string& leaf);
};
