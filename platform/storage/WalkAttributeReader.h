// Reads one attribute of the nodes a volume walk meets, for one walking
// thread: from the node's extended attribute, found by folder and leaf, or
// from the platform's attribute store for nodes that keep none themselves.
// Values land in buffers the reader reuses, so nothing is allocated per node.
#pragma once

#include "VolumeWalk.h"

#include <string>
#include <unordered_set>

class WalkAttributeReader {
public:
    // `storeInodes` lists the inodes with a record in the attribute store;
    // both it and `options` must outlive the reader.
    WalkAttributeReader(
        const VolumeWalkOptions& options, const std::unordered_set<uint64>& storeInodes);

    bool Enabled() const { return !fXattrName.empty(); }

    // Fills `entry`'s attribute, type and value for the node `name` in the
    // open folder `parentFd` (or the open node `fd` itself); `path` is its
    // full path, used where the kernel needs one.
    void Read(int parentFd, const char* name, int fd, const std::string& path, WalkEntry& entry);
    // The same for a link or another node the kernel keeps no user
    // attributes on: only the store can hold one.
    void ReadKept(const std::string& path, WalkEntry& entry);

private:
    ssize_t ReadXattr(int parentFd, const char* name, int fd, const std::string& path);
    void TakeValue(size_t length, const std::string& path, WalkEntry& entry);
    void ReadFromStore(const std::string& path, WalkEntry& entry);
    // A decoded value, unless it is longer than the walk reads.
    void Keep(type_code type, std::string data, WalkEntry& entry);

    const VolumeWalkOptions& fOptions;
    const std::unordered_set<uint64>& fStoreInodes;
    std::string fXattrName;
    std::string fBuffer;
    std::string fDecoded;
};
