// The resources of an executable (or any file): typed, numbered, named
// pieces of data kept in a container after the program's bytes. Changes
// are held until Sync() (or until the object lets go of the file) and then
// written in one safe step. Layout: docs/resources.md.
#pragma once

#include "BFile.h"
#include "ResourceContainer.h"

class BResources {
public:
    BResources();
    explicit BResources(const BFile* file, bool clobber = false);
    explicit BResources(const char* path, bool clobber = false);
    explicit BResources(const entry_ref* ref, bool clobber = false);
    BResources(const BResources&) = delete;
    BResources& operator=(const BResources&) = delete;
    virtual ~BResources();

    // With `clobber` the file's resources are dropped (on the next Sync).
    status_t SetTo(const BFile* file, bool clobber = false);
    // Opens the file read-write where allowed, else read-only.
    status_t SetTo(const char* path, bool clobber = false);
    status_t SetTo(const entry_ref* ref, bool clobber = false);
    void Unset();
    status_t InitCheck() const;
    const BFile& File() const { return fFile; }

    // The bytes stay valid until the resource changes or this object goes.
    const void* LoadResource(type_code type, int32 id, size_t* outSize);
    const void* LoadResource(type_code type, const char* name, size_t* outSize);
    // A copy the caller releases with free().
    void* FindResource(type_code type, int32 id, size_t* lengthFound);
    void* FindResource(type_code type, const char* name, size_t* lengthFound);

    status_t AddResource(
        type_code type, int32 id, const void* data, size_t length, const char* name = nullptr);
    // Adds or replaces a resource whose bytes are `length` bytes at `offset`
    // of `file`, which stays open with the resource. The bytes are copied
    // at Sync() without being held in memory, and checksummed then.
    status_t AddResourceFromFile(type_code type, int32 id, const BFile& file, off_t offset,
        off_t length, const char* name = nullptr);
    // The same with the whole file at `path`, opened only when its bytes are
    // needed. With SourceFile::HandOver the file belongs to this object from
    // now on (also when the call fails) and is deleted once no resource
    // needs it any more: after Sync(), or when the resource is replaced or
    // removed, or when this object goes.
    enum class SourceFile { Keep, HandOver };
    status_t AddResourceFromPath(type_code type, int32 id, const char* path,
        SourceFile mode = SourceFile::Keep, const char* name = nullptr);
    // Copies resource (type, id) of `source` here with its name and checksum
    // (so damage stays visible), without reading it whole.
    status_t CopyResourceFrom(BResources& source, type_code type, int32 id);
    bool HasResource(type_code type, int32 id);
    bool HasResource(type_code type, const char* name);
    status_t RemoveResource(type_code type, int32 id);
    status_t RemoveResource(const void* resource);
    status_t WriteResource(type_code type, int32 id, const void* data, off_t offset, size_t length);
    status_t ReadResource(type_code type, int32 id, void* data, off_t offset, size_t length);

    bool GetResourceInfo(int32 byIndex, type_code* typeFound, int32* idFound,
        const char** nameFound, size_t* lengthFound);
    bool GetResourceInfo(type_code byType, int32 andIndex, int32* idFound, const char** nameFound,
        size_t* lengthFound);
    bool GetResourceInfo(
        type_code byType, int32 andID, const char** nameFound, size_t* lengthFound);
    bool GetResourceInfo(
        type_code byType, const char* andName, int32* idFound, size_t* lengthFound);

    status_t Sync();

    // Whether the file holds a container, and what is wrong with a damaged
    // one (a damaged container reads as no resources).
    ResourceFormat::State ContainerState() const { return fState; }
    const std::string& Problem() const { return fProblem; }
    int32 CountResources() const { return fContainer.Count(); }
    // Where a written resource's bytes lie in the file, for streaming.
    status_t GetResourceRange(type_code type, int32 id, off_t* offset, size_t* size);
    // The CRC-32 recorded for a written resource.
    status_t GetResourceChecksum(type_code type, int32 id, uint32* crc);
    // B_OK when the resource's bytes match their checksum, B_BAD_DATA not.
    status_t VerifyResource(type_code type, int32 id);

private:
    status_t Load(bool clobber);
    status_t Fail(status_t status);
    status_t CheckWritable() const;
    status_t CheckAdd(type_code type, int32 id, const char* name) const;
    status_t ReadItem(
        const ResourceContainer::Item& item, uint64 offset, void* buffer, size_t length);
    status_t BytesOf(const ResourceContainer::Item& item, std::string& bytes, bool verify);

    BFile fFile;
    ResourceContainer fContainer;
    status_t fStatus = B_NO_INIT;
    status_t fWriteStatus = B_NO_INIT; // why writes are refused, B_OK if not
    ResourceFormat::State fState = ResourceFormat::State::None;
    std::string fProblem;
    uint64 fContainerStart = 0;
    int64 fElfEnd = -1;
    bool fClobbered = false;
};
