#include "LibAppResource.h"

#include "LibArchivePlacer.h"
#include "LibUniqueName.h"
#include "PathText.h"
#include "RunningExecutable.h"
#include "StatusText.h"
#include "ZipWriter.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool FitsId(const long& id)
{
    return id >= INT32_MIN && id <= INT32_MAX;
}

} // namespace

LibAppResource::LibAppResource(const unsigned long& openMode)
{
    std::string path;
    if (get_running_executable_path(path) == B_OK)
        Open(path.c_str(), openMode);
}

LibAppResource::LibAppResource(const char* path, const unsigned long& openMode)
{
    Open(path, openMode);
}

LibAppResource::~LibAppResource()
{
    // The container lets go of the file (writing pending changes) first.
    Unset();
    fFile.Unset();
}

void LibAppResource::Open(const char* path, const unsigned long& openMode)
{
    if (path == nullptr || *path == '\0')
        return;
    uint32 mode = uint32(openMode) & B_ACCESS_MODE_MASK;
    if (fFile.SetTo(path, mode) != B_OK && mode != B_READ_ONLY) {
        status_t status = fFile.InitCheck();
        if (fFile.SetTo(path, B_READ_ONLY) == B_OK) {
            fprintf(stderr, "LibAppResource: %s cannot be written (%s); reading only\n", path,
                status == B_BUSY ? "it is running" : "no permission");
        }
    }
    if (fFile.InitCheck() == B_OK)
        SetTo(&fFile);
}

bool LibAppResource::ExtractEntry(const long& id, const char* destination, bool unzip)
{
    fError.clear();
    fStatus = B_OK;
    if (!FitsId(id) || InitCheck() != B_OK || !HasResource(B_RAW_TYPE, int32(id)))
        return true;
    LibArchivePlacer placer(fOptions);
    LibArchivePlacer::Request request;
    request.destination = destination;
    request.unzip = unzip;
    off_t offset = 0;
    size_t size = 0;
    uint32 crc = 0;
    status_t status;
    if (GetResourceRange(B_RAW_TYPE, int32(id), &offset, &size) == B_OK
        && GetResourceChecksum(B_RAW_TYPE, int32(id), &crc) == B_OK) {
        if (!fOptions.checked)
            request.checksum = crc;
        status = placer.Place(File(), uint64(offset), size, request);
    } else {
        // Added here and not written yet.
        const void* data = LoadResource(B_RAW_TYPE, int32(id), &size);
        status = data == nullptr
            ? B_BAD_DATA
            : placer.Place(std::string(static_cast<const char*>(data), size), request);
    }
    fStatus = status;
    if (status == B_OK)
        return true;
    fError = placer.ErrorMessage();
    if (fError.empty())
        fError = "the payload cannot be read";
    fprintf(stderr, "ExtractEntry %ld: %s\n", id, fError.c_str());
    return false;
}

bool LibAppResource::AddEntry(const char* path, const long& id, const char* name, const int& level)
{
    fError.clear();
    if (path == nullptr || !FitsId(id) || InitCheck() != B_OK) {
        fError = "no item or no open executable";
        return false;
    }
    if (!File().IsWritable()) {
        fError = "the executable is open for reading only";
        fprintf(stderr, "AddEntry: %s\n", fError.c_str());
        return false;
    }
    // The archive waits beside the executable, on its volume, until Sync()
    // copies it in; a temporary folder in memory (tmpfs) would hold a large
    // payload in RAM.
    BPath archive(parent_path(File().Path()).c_str());
    LibUniqueName(archive, (".stow-entry-" + std::to_string(id) + "-").c_str());
    ZipWriteOptions options;
    options.level = level;
    ZipWriter writer(options);
    status_t status = writer.Write(path, archive.Path());
    if (status != B_OK) {
        fError = writer.ErrorMessage();
        fprintf(stderr, "AddEntry: %s\n%s failed\n", fError.c_str(), archive.Path());
        return false;
    }
    status = AddResourceFromPath(B_RAW_TYPE, int32(id), archive.Path(), SourceFile::HandOver, name);
    if (status != B_OK) {
        fError = std::string("the archive cannot be added: ") + status_text(status);
        fprintf(stderr, "%s failed\n", archive.Path());
        return false;
    }
    return true;
}

bool LibAppResource::CopyResource(const long& id, const unsigned long& type, LibAppResource& target)
{
    if (!FitsId(id) || type > UINT32_MAX || !HasResource(type_code(type), int32(id)))
        return true;
    return target.CopyResourceFrom(*this, type_code(type), int32(id)) == B_OK;
}

char* LibAppResource::FindString(const long& id)
{
    if (!FitsId(id))
        return nullptr;
    size_t size = 0;
    const auto* data = static_cast<const char*>(LoadResource(B_STRING_TYPE, int32(id), &size));
    if (data == nullptr)
        return nullptr;
    size_t length = strnlen(data, size);
    if (length == 0)
        return nullptr;
    char* copy = new char[length + 1];
    memcpy(copy, data, length);
    copy[length] = '\0';
    return copy;
}
