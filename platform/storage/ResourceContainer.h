// The resources of one file as BResources sees them: what the file holds,
// plus changes not yet written back.
#pragma once

#include "BFile.h"
#include "ResourceFormat.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

// Where a resource added from a file keeps its bytes until they are written
// into the container: an open file (a range of another container, say), or
// a file opened only when needed, which is deleted with the last item that
// uses it when it was handed over.
struct ResourceSource {
    BFile file;
    std::string path; // when `file` is not open
    bool owned = false;

    ResourceSource() = default;
    ResourceSource(const ResourceSource&) = delete;
    ResourceSource& operator=(const ResourceSource&) = delete;
    ~ResourceSource();

    // The open file, or `path` opened into `scratch`.
    const BFile* Open(BFile& scratch) const;
};

class ResourceContainer {
public:
    struct Item {
        type_code type = 0;
        int32 id = 0;
        std::string name;
        bool inFile = true; // the bytes are `size` bytes at `offset` of the file
        uint64 offset = 0;
        uint64 size = 0;
        uint32 crc = 0;
        // Not yet written: the bytes are `size` bytes at `offset` of the
        // source; `crcKnown` when they came with a checksum.
        std::shared_ptr<ResourceSource> source;
        bool crcKnown = false;
        std::string data; // the bytes when neither in the file nor in a source
        // Bytes handed out by LoadResource; they stay put until the item
        // changes or goes.
        std::unique_ptr<std::vector<char>> loaded;

        uint64 Size() const { return inFile || source ? size : data.size(); }
        bool HasChecksum() const { return inFile || (source && crcKnown); }
    };

    void Reset(const std::vector<ResourceFormat::Entry>& entries);
    void Clear();

    Item* Find(type_code type, int32 id);
    Item* Find(type_code type, const char* name);
    Item* FindLoaded(const void* bytes);
    Item* At(int32 index);
    Item* AtOfType(type_code type, int32 index);
    int32 Count() const { return int32(fItems.size()); }

    // Adds a resource held in memory, replacing one of the same type and id.
    Item& Add(type_code type, int32 id, const std::string& name, std::string data);
    // Adds a resource whose bytes stay in `source` until written.
    Item& Add(type_code type, int32 id, const std::string& name,
        std::shared_ptr<ResourceSource> source, uint64 offset, uint64 size);
    bool Remove(type_code type, int32 id);
    bool Remove(Item* item);

    std::list<Item>& Items() { return fItems; }
    bool IsModified() const { return fModified; }
    void SetModified(bool modified) { fModified = modified; }

private:
    std::list<Item> fItems;
    bool fModified = false;
};
