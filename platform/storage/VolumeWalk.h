// A fast walk of one volume's folder tree for scans that look for nodes
// carrying one attribute: depth first, each folder's entries in the folder's
// own order, links never followed, never into another mounted volume. It
// touches each node once at most (the attribute read), works relative to
// the open folder, and reads the folders on as many threads as the machine
// has processors, so that a whole volume goes by at close to the speed of
// reading its folders. What it finds still comes in walk order.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

enum class WalkNodeKind { File, Directory, SymLink, Other };

enum class WalkSizes {
    Measure, // every entry's size is read (one more look at each node)
    Skip,    // sizes are reported as 0
};

enum class WalkAttribute {
    None,    // the node has no such attribute, or it cannot be read
    Value,   // the value is in WalkEntry::value
    TooLong, // the value is longer than the walk's maximum
};

// One entry the walk found; the texts are valid during the call only.
struct WalkEntry {
    const std::string* path = nullptr; // full path
    const char* name = nullptr;        // leaf
    WalkNodeKind kind = WalkNodeKind::File;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0; // 0 for folders, and for every entry when sizes are skipped
    WalkAttribute attribute = WalkAttribute::None;
    type_code type = 0;
    std::string_view value;
};

// How far the walk got since the previous report.
struct WalkProgress {
    const char* folder = ""; // leaf of a folder being read
    int64 entries = 0;       // entries met, folders included
    int64 bytes = 0;         // folder nodes' own sizes, and measured entries'
    int64 found = 0;         // entries that will be reported
};

class VolumeWalkVisitor {
public:
    virtual ~VolumeWalkVisitor() = default;
    // Now and then during the walk, on the calling thread. May unwind (a
    // cancelled thread): the walk then stops its helpers and releases
    // everything it holds on the way out.
    virtual void Progress(const WalkProgress& progress) = 0;
    // Each entry found, in walk order, on the calling thread once the walk
    // is over. May unwind too.
    virtual void VisitEntry(const WalkEntry& entry) = 0;
};

struct VolumeWalkOptions {
    // The attribute read on every node that has it (empty: none is read, and
    // nothing is found).
    std::string attribute;
    // When set, only entries whose attribute is this text are found; else
    // every entry that has the attribute (a value, or one too long).
    std::string wantedValue;
    // Values longer than this are reported as TooLong, not read.
    size_t maxValueSize = 255;
    WalkSizes sizes = WalkSizes::Measure;
    // Folders (device, inode) that are neither visited nor entered.
    std::vector<std::pair<dev_t, ino_t>> skipFolders;
    // Threads reading folders, the calling one included; 0 means one per
    // processor (at most four).
    int threads = 0;
};

// Walks the tree below the folder `root` (which is entered, not visited).
// Entries on another device (mount points) are left out with everything
// below them. An unreadable folder is visited but not entered. B_OK, or the
// error of opening `root`.
status_t walk_volume(
    const char* root, const VolumeWalkOptions& options, VolumeWalkVisitor& visitor);
