// Names one entry by its folder and leaf name, as the kit's entry_ref does.
// The kit named the folder by device and inode number alone; Linux cannot open
// a folder by inode, so the folder's absolute path rides along and is what
// BEntry resolves. Device and inode still identify the folder (same volume,
// same folder) when comparing references.
#pragma once

#include <string>
#include <sys/types.h>

struct entry_ref {
    dev_t device = 0;
    ino_t directory = 0;
    std::string name;          // the leaf name; empty in an unset reference
    std::string directoryPath; // absolute path of the folder holding the entry

    entry_ref() = default;
    entry_ref(dev_t dev, ino_t dir, const char* leaf, std::string folderPath = {})
        : device(dev)
        , directory(dir)
        , name(leaf ? leaf : "")
        , directoryPath(std::move(folderPath))
    { }

    void set_name(const char* leaf) { name = leaf ? leaf : ""; }
    bool IsSet() const { return !name.empty(); }
    bool operator==(const entry_ref& other) const
    {
        return device == other.device && directory == other.directory && name == other.name;
    }
};
