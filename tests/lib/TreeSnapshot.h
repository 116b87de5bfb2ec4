// Everything a payload must carry of a file tree, to compare an item with
// its extracted copy: kinds, modes, contents, link targets, modification
// and access times and attributes.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace stowtest {

struct NodeSnapshot {
    char kind = '?'; // f, d, l
    mode_t mode = 0;
    std::string contents; // a file's bytes, a link's target
    time_t modified = 0;
    time_t accessed = 0;
    std::map<std::string, std::string> attributes; // name -> type code and data

    bool operator==(const NodeSnapshot& other) const;
};

// Keyed by the path below the item ("" for the item itself). Times are read
// before anything of a node is read, so reading does not disturb them.
using TreeSnapshot = std::map<std::string, NodeSnapshot>;
TreeSnapshot Snapshot(const std::string& path);
// Sets every node's times to those of the snapshot again (reading a tree
// moves access times).
void RestoreTimes(const std::string& path, const TreeSnapshot& snapshot);
// What differs, for failure messages; empty when equal.
std::string Differences(const TreeSnapshot& expected, const TreeSnapshot& actual);

// Names of the hidden ".stow-" entries in `folder`.
std::vector<std::string> Leftovers(const std::string& folder);

} // namespace stowtest
