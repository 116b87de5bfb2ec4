// The platform's own store of node attributes, for nodes whose file system
// refuses user extended attributes (symbolic links always) and for values
// too large for one. One record file per node, named by device and inode
// and checked against the node's birth time, so that a record never attaches
// to a later node that reuses the inode. Layout: docs/attributes.md.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <vector>

namespace AttributeStore {

// Identifies one node for as long as it exists.
struct NodeKey {
    uint64 device = 0;
    uint64 inode = 0;
    int64 stampSeconds = 0;      // birth time, or modification time where the
    uint32 stampNanoseconds = 0; // file system keeps no birth time
    uint32 flags = 0;
    uint32 fileType = 0; // the S_IFMT bits of the mode
    // A hash of a link's target (which lives as long as the link does);
    // it tells apart links made on one inode within the clock's granularity.
    uint64 contentHint = 0;

    bool operator==(const NodeKey&) const = default;
};

enum : uint32 { kStampIsBirthTime = 1 };

// The key of the node at `path` itself (a link is never followed), or of
// an open descriptor.
status_t KeyForPath(const std::string& path, NodeKey& key);
status_t KeyForDescriptor(int fd, NodeKey& key);

struct Attribute {
    std::string name;
    type_code type = 0;
    std::string data;
};

// Every attribute recorded for the node; none when there is no record or
// only a stale one.
status_t ReadAll(const NodeKey& key, std::vector<Attribute>& attributes);
// B_ENTRY_NOT_FOUND when the node has no such attribute.
status_t Find(const NodeKey& key, const std::string& name, Attribute& attribute);
// Adds or replaces one attribute; `path` is remembered for listings.
status_t Put(const NodeKey& key, const std::string& path, const Attribute& attribute);
status_t Remove(const NodeKey& key, const std::string& name);

// The folder that holds the records: under the user's data folder as the
// standard folder table resolves it (inside STOW_ROOT when that is set).
std::string Folder();

// What a volume scan learns from the store alone.
struct RecordSummary {
    NodeKey key;
    std::string path; // where the node was when it was last written
    std::vector<std::string> names;
};
// The records of one volume whose node is still at its remembered path.
status_t ListVolume(uint64 device, std::vector<RecordSummary>& records);
// The inode numbers that have a record on one volume, from the names of the
// record files alone (nothing is read or checked): a scan asks the store
// only about the nodes listed here.
status_t ListInodes(uint64 device, std::vector<uint64>& inodes);

// The largest attribute and the most attributes one record keeps.
constexpr uint64 kMaxAttributeSize = 256ull << 20;
constexpr uint32 kMaxAttributes = 4096;

} // namespace AttributeStore
