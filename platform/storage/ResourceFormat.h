// The resource container on disk: appended to an executable after every
// byte its ELF headers account for (or to the end of any other file). Reads
// the index without the data and writes whole containers. The byte layout
// is documented in docs/resources.md.
#pragma once

#include "ByteSource.h"

#include <string>
#include <vector>

namespace ResourceFormat {

constexpr char kHeadMagic[9] = "STOWRSRC";
constexpr char kTrailerMagic[9] = "STOWREND";
constexpr uint32 kVersion = 1;
constexpr size_t kHeadSize = 32;
constexpr size_t kTrailerSize = 40;
constexpr size_t kEntrySize = 40;
constexpr size_t kIndexHeaderSize = 8;
constexpr uint32 kMaxResources = 65536;
constexpr uint32 kMaxNameLength = 1024;
constexpr uint64 kMaxIndexSize
    = kIndexHeaderSize + uint64(kMaxResources) * (kEntrySize + kMaxNameLength);

enum class State {
    None, // no container: the file has no resources
    Valid,
    Damaged, // a container is there but cannot be trusted; reads as none
};

struct Entry {
    type_code type = 0;
    int32 id = 0;
    std::string name;
    uint64 offset = 0; // of the data, from the start of the file
    uint64 size = 0;
    uint32 crc = 0; // CRC-32 (zlib) of the data
};

struct Index {
    State state = State::None;
    std::string problem; // what is wrong with a damaged container
    int64 elfEnd = -1;   // -1 when the file is not ELF
    uint64 start = 0;    // where the container starts (the file size when none)
    std::vector<Entry> entries;
};

// Never reads beyond the source, never trusts a size it has not checked.
Index ReadIndex(const ByteSource& source);

// CRC-32 of `size` bytes at `offset`; false when they cannot be read.
bool ChecksumRange(const ByteSource& source, uint64 offset, uint64 size, uint32& crc);
uint32 Checksum(const void* data, size_t size, uint32 crc = 0);

// One resource to write: its bytes either in memory or as a range of
// `fd`, or of the file at `path` when there is no `fd` (copied without
// holding them whole).
struct Item {
    type_code type = 0;
    int32 id = 0;
    std::string name;
    const std::string* memory = nullptr;
    int fd = -1;
    std::string path = {};
    uint64 offset = 0;
    uint64 size = 0;
    // Kept as it was for copied bytes, so damage stays visible, unless the
    // bytes never had one: then it is computed while they are copied.
    uint32 crc = 0;
    bool computeCrc = false;
};

// Writes a container holding `items` at `start` in `outFd`; `written`
// receives their new places.
status_t WriteContainer(
    int outFd, uint64 start, const std::vector<Item>& items, std::vector<Entry>& written);

} // namespace ResourceFormat
