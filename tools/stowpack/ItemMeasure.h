// What the builder records about a payload item, read from the item on
// disk: its kind, its size in bytes (a folder's whole contents) and its
// three times. A link given as the item is followed, as the archive does.
#pragma once

#include "SupportDefs.h"

#include <string>

struct ItemFacts {
    // The "file_type" values.
    enum class Kind : int8 { Document = 0, Program = 1, Folder = 2 };

    Kind kind = Kind::Document;
    uint64 size = 0;
    // Seconds since 1970. The creation time is the birth time where the
    // file system keeps one, else the modification time.
    int64 created = 0;
    int64 modified = 0;
    int64 accessed = 0;
};

class ItemMeasure {
public:
    static bool Measure(const std::string& path, ItemFacts& facts, std::string& error);

private:
    static bool FolderSize(const std::string& path, uint64& size, std::string& error);
    static ItemFacts::Kind FileKind(const std::string& path, unsigned mode);
};
