#include "BResources.h"

#include "ResourceFileUpdate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Resources are held whole in memory while they change or are loaded.
constexpr uint64 kMaxInMemory = uint64(1) << 31;

} // namespace

BResources::BResources() = default;

BResources::BResources(const BFile* file, bool clobber)
{
    SetTo(file, clobber);
}

BResources::BResources(const char* path, bool clobber)
{
    SetTo(path, clobber);
}

BResources::BResources(const entry_ref* ref, bool clobber)
{
    SetTo(ref, clobber);
}

BResources::~BResources()
{
    Unset();
}

status_t BResources::SetTo(const BFile* file, bool clobber)
{
    Unset();
    if (file == nullptr)
        return Fail(B_BAD_VALUE);
    if (file->InitCheck() != B_OK)
        return Fail(file->InitCheck());
    fFile = *file;
    if (fFile.InitCheck() != B_OK)
        return Fail(fFile.InitCheck());
    fWriteStatus = fFile.IsWritable() ? B_OK : B_NOT_ALLOWED;
    return Load(clobber);
}

status_t BResources::SetTo(const char* path, bool clobber)
{
    Unset();
    if (path == nullptr)
        return Fail(B_BAD_VALUE);
    // A running program (or a file without write permission) can still be
    // read; writes then report why they cannot happen.
    status_t writeStatus = fFile.SetTo(path, B_READ_WRITE);
    if (writeStatus != B_OK && fFile.SetTo(path, B_READ_ONLY) != B_OK)
        return Fail(fFile.InitCheck());
    fWriteStatus = writeStatus;
    return Load(clobber);
}

status_t BResources::SetTo(const entry_ref* ref, bool clobber)
{
    if (ref == nullptr || !ref->IsSet() || ref->directoryPath.empty()) {
        Unset();
        return Fail(B_BAD_VALUE);
    }
    std::string path = ref->directoryPath;
    if (path.back() != '/')
        path += '/';
    return SetTo((path + ref->name).c_str(), clobber);
}

void BResources::Unset()
{
    if (fStatus == B_OK && fContainer.IsModified())
        Sync();
    fFile.Unset();
    fContainer.Clear();
    fStatus = B_NO_INIT;
    fWriteStatus = B_NO_INIT;
    fState = ResourceFormat::State::None;
    fProblem.clear();
    fContainerStart = 0;
    fElfEnd = -1;
    fClobbered = false;
}

status_t BResources::InitCheck() const
{
    return fStatus;
}

status_t BResources::Fail(status_t status)
{
    fFile.Unset();
    return fStatus = status;
}

status_t BResources::Load(bool clobber)
{
    FileByteSource source(fFile.FileDescriptor());
    ResourceFormat::Index index = ResourceFormat::ReadIndex(source);
    fState = index.state;
    fProblem = index.problem;
    fContainerStart = index.start;
    fElfEnd = index.elfEnd;
    fContainer.Reset(index.entries);
    if (clobber) {
        fContainer.Clear();
        fContainer.SetModified(true);
        fClobbered = true;
    }
    return fStatus = B_OK;
}

status_t BResources::CheckWritable() const
{
    if (fStatus != B_OK)
        return fStatus;
    if (fWriteStatus != B_OK)
        return fWriteStatus;
    // Writing over a damaged container would hide the damage; only a
    // clobbering open may start afresh.
    if (fState == ResourceFormat::State::Damaged && !fClobbered)
        return B_BAD_DATA;
    return B_OK;
}

status_t BResources::CheckAdd(type_code type, int32 id, const char* name) const
{
    status_t status = CheckWritable();
    if (status != B_OK)
        return status;
    if (name && strlen(name) > ResourceFormat::kMaxNameLength)
        return B_NAME_TOO_LONG;
    auto& container = const_cast<ResourceContainer&>(fContainer);
    if (container.Find(type, id) == nullptr
        && container.Count() >= int32(ResourceFormat::kMaxResources))
        return B_DEVICE_FULL;
    return B_OK;
}

status_t BResources::ReadItem(
    const ResourceContainer::Item& item, uint64 offset, void* buffer, size_t length)
{
    if (!item.inFile && !item.source) {
        if (length > 0)
            memcpy(buffer, item.data.data() + offset, length);
        return B_OK;
    }
    BFile scratch;
    const BFile* file = item.source ? item.source->Open(scratch) : &fFile;
    if (file == nullptr)
        return scratch.InitCheck();
    ssize_t got = file->ReadAt(off_t(item.offset + offset), buffer, length);
    if (got < 0)
        return status_t(got);
    return size_t(got) == length ? B_OK : B_IO_ERROR;
}

status_t BResources::BytesOf(const ResourceContainer::Item& item, std::string& bytes, bool verify)
{
    if (!item.inFile && !item.source) {
        bytes = item.data;
        return B_OK;
    }
    if (item.size > kMaxInMemory)
        return B_NO_MEMORY;
    bytes.assign(size_t(item.size), '\0');
    status_t status = ReadItem(item, 0, bytes.data(), bytes.size());
    if (status != B_OK)
        return status;
    if (verify && item.HasChecksum()
        && ResourceFormat::Checksum(bytes.data(), bytes.size()) != item.crc)
        return B_BAD_DATA;
    return B_OK;
}

const void* BResources::LoadResource(type_code type, int32 id, size_t* outSize)
{
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr)
        return nullptr;
    if (!item->loaded) {
        std::string bytes;
        if (BytesOf(*item, bytes, true) != B_OK)
            return nullptr;
        // One zero byte more, so text resources read as C strings.
        item->loaded = std::make_unique<std::vector<char>>(bytes.begin(), bytes.end());
        item->loaded->push_back('\0');
    }
    if (outSize)
        *outSize = item->loaded->size() - 1;
    return item->loaded->data();
}

const void* BResources::LoadResource(type_code type, const char* name, size_t* outSize)
{
    ResourceContainer::Item* item = fContainer.Find(type, name);
    return item ? LoadResource(type, item->id, outSize) : nullptr;
}

void* BResources::FindResource(type_code type, int32 id, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.Find(type, id);
    std::string bytes;
    if (item == nullptr || BytesOf(*item, bytes, true) != B_OK)
        return nullptr;
    void* copy = malloc(bytes.size() + 1);
    if (copy == nullptr)
        return nullptr;
    memcpy(copy, bytes.data(), bytes.size());
    static_cast<char*>(copy)[bytes.size()] = '\0';
    if (lengthFound)
        *lengthFound = bytes.size();
    return copy;
}

void* BResources::FindResource(type_code type, const char* name, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.Find(type, name);
    return item ? FindResource(type, item->id, lengthFound) : nullptr;
}

status_t BResources::AddResource(
    type_code type, int32 id, const void* data, size_t length, const char* name)
{
    status_t status = CheckAdd(type, id, name);
    if (status != B_OK)
        return status;
    if ((data == nullptr && length > 0) || length > kMaxInMemory)
        return B_BAD_VALUE;
    fContainer.Add(type, id, name ? name : "",
        std::string(static_cast<const char*>(data ? data : ""), length));
    return B_OK;
}

status_t BResources::AddResourceFromFile(
    type_code type, int32 id, const BFile& file, off_t offset, off_t length, const char* name)
{
    status_t status = CheckAdd(type, id, name);
    if (status != B_OK)
        return status;
    off_t fileSize = 0;
    if (file.InitCheck() != B_OK || !file.IsReadable())
        return file.InitCheck() != B_OK ? file.InitCheck() : B_NOT_ALLOWED;
    status = file.GetSize(&fileSize);
    if (status != B_OK)
        return status;
    if (offset < 0 || length < 0 || offset > fileSize || length > fileSize - offset)
        return B_BAD_VALUE;
    auto source = std::make_shared<ResourceSource>();
    source->file = file;
    if (source->file.InitCheck() != B_OK)
        return source->file.InitCheck();
    fContainer.Add(type, id, name ? name : "", std::move(source), uint64(offset), uint64(length));
    return B_OK;
}

status_t BResources::AddResourceFromPath(
    type_code type, int32 id, const char* path, SourceFile mode, const char* name)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    // Taken over first, so that the file goes whatever happens below.
    auto source = std::make_shared<ResourceSource>();
    source->path = path;
    source->owned = mode == SourceFile::HandOver;
    status_t status = CheckAdd(type, id, name);
    if (status != B_OK)
        return status;
    BFile file(path, B_READ_ONLY);
    off_t size = 0;
    status = file.InitCheck() == B_OK ? file.GetSize(&size) : file.InitCheck();
    if (status != B_OK)
        return status;
    fContainer.Add(type, id, name ? name : "", std::move(source), 0, uint64(size));
    return B_OK;
}

status_t BResources::CopyResourceFrom(BResources& source, type_code type, int32 id)
{
    ResourceContainer::Item* item = source.fContainer.Find(type, id);
    if (item == nullptr)
        return B_ENTRY_NOT_FOUND;
    if (&source == this)
        return B_OK;
    status_t status = CheckAdd(type, id, item->name.c_str());
    if (status != B_OK)
        return status;
    if (!item->inFile && !item->source) {
        fContainer.Add(type, id, item->name, item->data);
        return B_OK;
    }
    std::shared_ptr<ResourceSource> from = item->source;
    if (!from) {
        from = std::make_shared<ResourceSource>();
        from->file = source.fFile;
        if (from->file.InitCheck() != B_OK)
            return from->file.InitCheck();
    }
    ResourceContainer::Item& added
        = fContainer.Add(type, id, item->name, std::move(from), item->offset, item->size);
    added.crc = item->crc;
    added.crcKnown = item->HasChecksum();
    return B_OK;
}

bool BResources::HasResource(type_code type, int32 id)
{
    return fContainer.Find(type, id) != nullptr;
}

bool BResources::HasResource(type_code type, const char* name)
{
    return fContainer.Find(type, name) != nullptr;
}

status_t BResources::RemoveResource(type_code type, int32 id)
{
    status_t status = CheckWritable();
    if (status != B_OK)
        return status;
    return fContainer.Remove(type, id) ? B_OK : B_BAD_VALUE;
}

status_t BResources::RemoveResource(const void* resource)
{
    status_t status = CheckWritable();
    if (status != B_OK)
        return status;
    return fContainer.Remove(fContainer.FindLoaded(resource)) ? B_OK : B_BAD_VALUE;
}

status_t BResources::WriteResource(
    type_code type, int32 id, const void* data, off_t offset, size_t length)
{
    status_t status = CheckWritable();
    if (status != B_OK)
        return status;
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr || offset < 0 || (data == nullptr && length > 0)
        || uint64(offset) + length > kMaxInMemory)
        return B_BAD_VALUE;
    if (item->inFile || item->source) {
        status = BytesOf(*item, item->data, false);
        if (status != B_OK)
            return status;
        item->inFile = false;
        item->source.reset();
    }
    if (item->data.size() < uint64(offset) + length)
        item->data.resize(size_t(offset) + length, '\0');
    if (length > 0)
        memcpy(item->data.data() + offset, data, length);
    item->loaded.reset();
    fContainer.SetModified(true);
    return B_OK;
}

status_t BResources::ReadResource(type_code type, int32 id, void* data, off_t offset, size_t length)
{
    if (fStatus != B_OK)
        return fStatus;
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr || offset < 0 || uint64(offset) > item->Size()
        || (data == nullptr && length > 0))
        return B_BAD_VALUE;
    length = size_t(std::min<uint64>(length, item->Size() - uint64(offset)));
    return ReadItem(*item, uint64(offset), data, length);
}

bool BResources::GetResourceInfo(int32 byIndex, type_code* typeFound, int32* idFound,
    const char** nameFound, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.At(byIndex);
    if (item == nullptr)
        return false;
    if (typeFound)
        *typeFound = item->type;
    if (idFound)
        *idFound = item->id;
    if (nameFound)
        *nameFound = item->name.c_str();
    if (lengthFound)
        *lengthFound = size_t(item->Size());
    return true;
}

bool BResources::GetResourceInfo(
    type_code byType, int32 andIndex, int32* idFound, const char** nameFound, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.AtOfType(byType, andIndex);
    if (item == nullptr)
        return false;
    if (idFound)
        *idFound = item->id;
    if (nameFound)
        *nameFound = item->name.c_str();
    if (lengthFound)
        *lengthFound = size_t(item->Size());
    return true;
}

bool BResources::GetResourceInfo(
    type_code byType, int32 andID, const char** nameFound, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.Find(byType, andID);
    if (item == nullptr)
        return false;
    if (nameFound)
        *nameFound = item->name.c_str();
    if (lengthFound)
        *lengthFound = size_t(item->Size());
    return true;
}

bool BResources::GetResourceInfo(
    type_code byType, const char* andName, int32* idFound, size_t* lengthFound)
{
    ResourceContainer::Item* item = fContainer.Find(byType, andName);
    if (item == nullptr)
        return false;
    if (idFound)
        *idFound = item->id;
    if (lengthFound)
        *lengthFound = size_t(item->Size());
    return true;
}

status_t BResources::Sync()
{
    if (fStatus != B_OK)
        return fStatus;
    if (!fContainer.IsModified())
        return B_OK;
    status_t status = CheckWritable();
    if (status != B_OK)
        return status;
    uint64 keep = fContainerStart;
    if (fState == ResourceFormat::State::Damaged && fElfEnd >= 0)
        keep = uint64(fElfEnd);
    std::vector<ResourceFormat::Item> items;
    for (const auto& item : fContainer.Items()) {
        ResourceFormat::Item out {item.type, item.id, item.name};
        if (item.inFile) {
            out.fd = fFile.FileDescriptor();
            out.offset = item.offset;
            out.size = item.size;
            out.crc = item.crc;
        } else if (item.source) {
            if (item.source->file.InitCheck() == B_OK)
                out.fd = item.source->file.FileDescriptor();
            else
                out.path = item.source->path;
            out.offset = item.offset;
            out.size = item.size;
            out.crc = item.crc;
            out.computeCrc = !item.crcKnown;
        } else {
            out.memory = &item.data;
        }
        items.push_back(out);
    }
    std::vector<ResourceFormat::Entry> written;
    status = replace_file_resources(fFile, keep, items, written);
    if (status != B_OK) {
        if (fFile.InitCheck() != B_OK)
            fStatus = fFile.InitCheck();
        return status;
    }
    auto entry = written.begin();
    for (auto& item : fContainer.Items()) {
        item.inFile = true;
        item.offset = entry->offset;
        item.size = entry->size;
        item.crc = entry->crc;
        item.source.reset();
        item.crcKnown = false;
        std::string().swap(item.data);
        ++entry;
    }
    fContainerStart = keep;
    fState = written.empty() ? ResourceFormat::State::None : ResourceFormat::State::Valid;
    fProblem.clear();
    fClobbered = false;
    fContainer.SetModified(false);
    return B_OK;
}

status_t BResources::GetResourceRange(type_code type, int32 id, off_t* offset, size_t* size)
{
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr)
        return B_ENTRY_NOT_FOUND;
    if (!item->inFile)
        return B_BUSY; // changed and not yet written
    if (offset)
        *offset = off_t(item->offset);
    if (size)
        *size = size_t(item->size);
    return B_OK;
}

status_t BResources::GetResourceChecksum(type_code type, int32 id, uint32* crc)
{
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr)
        return B_ENTRY_NOT_FOUND;
    if (!item->inFile)
        return B_BUSY;
    if (crc)
        *crc = item->crc;
    return B_OK;
}

status_t BResources::VerifyResource(type_code type, int32 id)
{
    ResourceContainer::Item* item = fContainer.Find(type, id);
    if (item == nullptr)
        return B_ENTRY_NOT_FOUND;
    if (!item->HasChecksum())
        return B_OK;
    BFile scratch;
    const BFile* file = item->source ? item->source->Open(scratch) : &fFile;
    if (file == nullptr)
        return scratch.InitCheck();
    FileByteSource source(file->FileDescriptor());
    uint32 crc;
    if (!ResourceFormat::ChecksumRange(source, item->offset, item->size, crc))
        return B_IO_ERROR;
    return crc == item->crc ? B_OK : B_BAD_DATA;
}
