#include "InstallPayloads.h"

#include "BMessage.h"
#include "BResources.h"
#include "ResourceFormat.h"
#include "ZipReader.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kChunkSize = 256 * 1024;

} // namespace

InstallPayloads::InstallPayloads(BResources& resources, Pause pause)
    : fResources(resources)
    , fPause(std::move(pause))
{ }

status_t InstallPayloads::Fail(int32 id, status_t status, const std::string& message)
{
    fError = "payload " + std::to_string(id) + ": " + message;
    return status;
}

status_t InstallPayloads::Check(int32 id, uint64& fileBytes)
{
    return Examine(id, fileBytes, false);
}

status_t InstallPayloads::Verify(int32 id, uint64& fileBytes)
{
    return Examine(id, fileBytes, true);
}

std::vector<int32> InstallPayloads::Named(const BMessage& config)
{
    std::vector<int32> ids;
    if (!config.HasBool("opt_include_deinstall") || config.FindBool("opt_include_deinstall"))
        ids.push_back(kDeinstallerPayloadId);
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    for (int32 i = 0; instructions.HasMessage("install_file", i); ++i)
        ids.push_back(kFirstItemPayloadId + i);
    return ids;
}

status_t InstallPayloads::Examine(int32 id, uint64& fileBytes, bool decompress)
{
    fError.clear();
    fileBytes = 0;
    off_t offset = 0;
    size_t size = 0;
    if (fResources.InitCheck() != B_OK || !fResources.HasResource(B_RAW_TYPE, id)
        || fResources.GetResourceRange(B_RAW_TYPE, id, &offset, &size) != B_OK)
        return Fail(id, B_ENTRY_NOT_FOUND, "the installer does not carry it");
    status_t status = VerifyChecksum(id, uint64(offset), size);
    if (status != B_OK)
        return status;
    ZipReader reader;
    ZipListing listing;
    status = reader.Open(fResources.File().FileDescriptor(), uint64(offset), size);
    if (status == B_OK)
        status = reader.List(listing);
    if (status == B_OK && decompress)
        status = reader.Test([this] {
            if (fPause)
                fPause();
            return false;
        });
    if (status != B_OK)
        return Fail(
            id, status == B_NOT_ALLOWED ? B_NOT_ALLOWED : B_BAD_DATA, reader.ErrorMessage());
    for (const ZipMember& member : listing.members) {
        if (member.kind == ZipMemberKind::File)
            fileBytes += member.size;
    }
    return B_OK;
}

status_t InstallPayloads::VerifyChecksum(int32 id, uint64 offset, uint64 size)
{
    uint32 expected = 0;
    if (fResources.GetResourceChecksum(B_RAW_TYPE, id, &expected) != B_OK)
        return Fail(id, B_BAD_DATA, "it has no checksum");
    std::vector<char> buffer(kChunkSize);
    uint32 crc = 0;
    for (uint64 done = 0; done < size;) {
        if (fPause)
            fPause();
        size_t piece = size_t(std::min<uint64>(kChunkSize, size - done));
        ssize_t got = fResources.File().ReadAt(off_t(offset + done), buffer.data(), piece);
        if (got != ssize_t(piece))
            return Fail(id, B_IO_ERROR, "it cannot be read");
        crc = ResourceFormat::Checksum(buffer.data(), piece, crc);
        done += piece;
    }
    if (crc != expected)
        return Fail(id, B_BAD_DATA, "it is damaged (its checksum does not match)");
    return B_OK;
}
