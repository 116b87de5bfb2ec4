// The resources of one file as BResources sees them: what the file holds,
// plus changes not yet written back.
#pragma once

#include "ResourceFormat.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

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
        std::string data; // the bytes when not in the file
        // Bytes handed out by LoadResource; they stay put until the item
        // changes or goes.
        std::unique_ptr<std::vector<char>> loaded;

        uint64 Size() const { return inFile ? size : data.size(); }
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
    bool Remove(type_code type, int32 id);
    bool Remove(Item* item);

    std::list<Item>& Items() { return fItems; }
    bool IsModified() const { return fModified; }
    void SetModified(bool modified) { fModified = modified; }

private:
    std::list<Item> fItems;
    bool fModified = false;
};
