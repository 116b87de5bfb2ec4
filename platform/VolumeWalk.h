// A fast walk of one volume's folder tree for scans that look for nodes
// carrying one attribute: depth first, each folder's entries in the folder's
// own order, links never followed, never into another mounted volume. It
// touches each node once at most (the attribute read), works relative to
// the open folder and allocates nothing per entry, so that a whole volume
// goes by at close to the speed of reading its folders.
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

// One entry as the walk meets it; the texts are valid during the call only.
struct WalkEntry {
    const std::string* path = nullptr; // full path
    const char* name = nullptr;        // leaf
    WalkNodeKind kind = WalkNodeKind::File;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0; // not for folders, which report their own size on entry
    WalkAttribute attribute = WalkAttribute::None;
    type_code type = 0;
    std::string_view value;
};

class VolumeWalkVisitor {
public:
    virtual ~VolumeWalkVisitor() = default;
    // A folder is about to be read: its full path, its leaf and the size
    // the file system reports for the folder node itself.
    virtual void EnterFolder(const std::string& path, const char* name, off_t size) = 0;
    // An entry of the folder being read; a folder entry comes just before
    // its own EnterFolder. May unwind (a cancelled thread): the walk
    // releases everything it holds on the way out.
    virtual void VisitEntry(const WalkEntry& entry) = 0;
};

struct VolumeWalkOptions {
    // The attribute read on every node that has it (empty: none is read).
    std::string attribute;
    // Values longer than this are reported as TooLong, not read.
    size_t maxValueSize = 255;
    WalkSizes sizes = WalkSizes::Measure;
    // Folders (device, inode) that are neither visited nor entered.
    std::vector<std::pair<dev_t, ino_t>> skipFolders;
};

// Walks the tree below the folder `root` (which is entered, not visited).
// Entries on another device (mount points) are left out with everything
// below them. An unreadable folder is visited but not entered. B_OK, or the
// error of opening `root`.
status_t walk_volume(
    const char* root, const VolumeWalkOptions& options, VolumeWalkVisitor& visitor);
