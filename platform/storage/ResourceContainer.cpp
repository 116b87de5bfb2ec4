#include "ResourceContainer.h"

#include <unistd.h>

ResourceSource::~ResourceSource()
{
    if (owned && !path.empty())
        unlink(path.c_str());
}

const BFile* ResourceSource::Open(BFile& scratch) const
{
    if (file.InitCheck() == B_OK)
        return &file;
    if (scratch.SetTo(path.c_str(), B_READ_ONLY) != B_OK)
        return nullptr;
    return &scratch;
}

void ResourceContainer::Reset(const std::vector<ResourceFormat::Entry>& entries)
{
    Clear();
    for (const auto& entry : entries) {
        Item item;
        item.type = entry.type;
        item.id = entry.id;
        item.name = entry.name;
        item.offset = entry.offset;
        item.size = entry.size;
        item.crc = entry.crc;
        fItems.push_back(std::move(item));
    }
}

void ResourceContainer::Clear()
{
    fItems.clear();
    fModified = false;
}

ResourceContainer::Item* ResourceContainer::Find(type_code type, int32 id)
{
    for (Item& item : fItems) {
        if (item.type == type && item.id == id)
            return &item;
    }
    return nullptr;
}

ResourceContainer::Item* ResourceContainer::Find(type_code type, const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (Item& item : fItems) {
        if (item.type == type && item.name == name)
            return &item;
    }
    return nullptr;
}

ResourceContainer::Item* ResourceContainer::FindLoaded(const void* bytes)
{
    for (Item& item : fItems) {
        if (bytes && item.loaded && item.loaded->data() == bytes)
            return &item;
    }
    return nullptr;
}

ResourceContainer::Item* ResourceContainer::At(int32 index)
{
    for (Item& item : fItems) {
        if (index-- == 0)
            return &item;
    }
    return nullptr;
}

ResourceContainer::Item* ResourceContainer::AtOfType(type_code type, int32 index)
{
    for (Item& item : fItems) {
        if (item.type == type && index-- == 0)
            return &item;
    }
    return nullptr;
}

ResourceContainer::Item& ResourceContainer::Add(
    type_code type, int32 id, const std::string& name, std::string data)
{
    fModified = true;
    Item* existing = Find(type, id);
    if (existing == nullptr) {
        fItems.emplace_back();
        existing = &fItems.back();
    }
    *existing = Item();
    existing->type = type;
    existing->id = id;
    existing->name = name;
    existing->inFile = false;
    existing->data = std::move(data);
    return *existing;
}

ResourceContainer::Item& ResourceContainer::Add(type_code type, int32 id, const std::string& name,
    std::shared_ptr<ResourceSource> source, uint64 offset, uint64 size)
{
    Item& item = Add(type, id, name, std::string());
    item.source = std::move(source);
    item.offset = offset;
    item.size = size;
    return item;
}

bool ResourceContainer::Remove(type_code type, int32 id)
{
    return Remove(Find(type, id));
}

bool ResourceContainer::Remove(Item* item)
{
    for (auto it = fItems.begin(); it != fItems.end(); ++it) {
        if (&*it == item) {
            fItems.erase(it);
            fModified = true;
            return true;
        }
    }
    return false;
}
