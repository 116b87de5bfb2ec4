#include "LibNode.h"

#include "FileOperations.h"
#include "FindDirectory.h"
#include "LibArchivePlacer.h"
#include "LibUniqueName.h"
#include "ZipWriter.h"

#include <cstdio>

namespace {

// Deletes the temporary archive on every way out.
class TemporaryFile {
public:
    explicit TemporaryFile(const char* path)
        : fPath(path != nullptr ? path : "")
    { }
    ~TemporaryFile()
    {
        if (!fPath.empty())
            remove_entry(fPath.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

private:
    std::string fPath;
};

} // namespace

bool LibNode::CompressFile(const char* name, const char* path)
{
    if (name == nullptr || InitCheck() != B_OK)
        return false;
    BEntry item(path, true);
    if (path == nullptr || !item.Exists()) {
        fprintf(stderr, "LibNode::CompressFile: %s does not exist\n", path ? path : "");
        return false;
    }
    BPath archive;
    find_directory(B_COMMON_TEMP_DIRECTORY, &archive, true);
    LibUniqueName(archive, "zip");
    TemporaryFile cleanup(archive.Path());
    ZipWriteOptions options;
    options.level = 9;
    ZipWriter writer(options);
    if (writer.Write(path, archive.Path()) != B_OK) {
        fprintf(stderr, "LibNode::CompressFile: %s\n", writer.ErrorMessage().c_str());
        return false;
    }
    fprintf(stderr, "zipped to %s\n", archive.Path());
    BFile file(archive.Path(), B_READ_ONLY);
    off_t size = 0;
    if (file.InitCheck() != B_OK || file.GetSize(&size) != B_OK
        || uint64(size) > AttributeStore::kMaxAttributeSize)
        return false;
    std::string data(size_t(size), '\0');
    if (file.ReadAt(0, data.data(), data.size()) != ssize_t(data.size()))
        return false;
    return WriteAttr(name, B_RAW_TYPE, 0, data.data(), data.size()) == ssize_t(data.size());
}

bool LibNode::UncompressFile(const char* name, const char* destination, bool unzip)
{
    if (name == nullptr)
        return false;
    std::string data;
    status_t status = ReadWhole(name, data);
    if (status != B_OK)
        return status == B_ENTRY_NOT_FOUND;
    LibArchivePlacer placer;
    LibArchivePlacer::Request request;
    request.destination = destination;
    request.unzip = unzip;
    request.itemName = name;
    if (placer.Place(data, request) != B_OK) {
        fprintf(stderr, "LibNode::UncompressFile: %s\n", placer.ErrorMessage().c_str());
        return false;
    }
    return true;
}
