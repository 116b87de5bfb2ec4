// Typed attributes as archives carry them: the records of the "Be" extra
// field, and the interface through which archives read attributes from nodes
// and put them back.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <vector>

struct ZipAttribute {
    std::string name;
    type_code type = 0;
    std::vector<uint8> data;

    bool operator==(const ZipAttribute& other) const = default;
};

typedef std::vector<ZipAttribute> ZipAttributeList;

// Where the archive layer gets a node's attributes and where it puts them.
// Paths name the node itself: a symbolic link's own attributes, not its
// target's.
class ZipAttributeStore {
public:
    virtual ~ZipAttributeStore() = default;
    virtual status_t ReadAttributes(const char* path, ZipAttributeList& list) = 0;
    virtual status_t WriteAttributes(const char* path, const ZipAttributeList& list) = 0;
    // The same for a node just made and open on `fd` (at `path`), which
    // holds no attributes yet.
    virtual status_t WriteAttributes(int fd, const char* path, const ZipAttributeList& list)
    {
        return WriteAttributes(path, list);
    }
};

namespace ZipAttributeRecords {

// Attribute data a "Be" field may expand to; beyond it the field is refused.
constexpr size_t kMaxRecordBytes = 16 * 1024 * 1024;

// The records: NUL-terminated name, big-endian type code, big-endian 64-bit
// size, then the data; one after another.
std::vector<uint8> Flatten(const ZipAttributeList& list);

// Reads records filling exactly `size` bytes. On error `list` is left empty.
status_t Unflatten(const uint8* data, size_t size, ZipAttributeList& list);

} // namespace ZipAttributeRecords
