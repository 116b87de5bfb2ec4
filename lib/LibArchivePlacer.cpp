#include "LibArchivePlacer.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BNodeInfo.h"
#include "FileOperations.h"
#include "FileTypes.h"
#include "PathText.h"
#include "ResourceFormat.h"
#include "StagingFolder.h"
#include "StatusText.h"
#include "ZipExtractor.h"
#include "ZipReader.h"

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr size_t kChunkSize = 256 * 1024;

// Names inside the staging folder: the archive when it needs a file of its
// own, and the folder the item is unpacked into.
constexpr const char* kArchiveName = "archive";
constexpr const char* kItemFolderName = "item";

} // namespace

LibArchivePlacer::LibArchivePlacer(const LibExtractOptions& options)
    : fOptions(options)
{ }

LibArchivePlacer::~LibArchivePlacer() = default;

status_t LibArchivePlacer::Fail(status_t status, const std::string& message)
{
    fError = message;
    return status;
}

status_t LibArchivePlacer::Verify(const BFile& file, uint64 offset, uint64 length, uint32 checksum)
{
    std::vector<char> buffer(kChunkSize);
    uint32 crc = 0;
    for (uint64 done = 0; done < length;) {
        if (Stopped())
            return Fail(B_CANCELED, "stopped");
        size_t piece = size_t(std::min<uint64>(kChunkSize, length - done));
        ssize_t got = file.ReadAt(off_t(offset + done), buffer.data(), piece);
        if (got != ssize_t(piece))
            return Fail(B_IO_ERROR, "the archive cannot be read");
        crc = ResourceFormat::Checksum(buffer.data(), piece, crc);
        done += piece;
    }
    if (crc != checksum)
        return Fail(B_BAD_DATA, "the archive is damaged (its checksum does not match)");
    return B_OK;
}

status_t LibArchivePlacer::CopyOut(
    const BFile& file, uint64 offset, uint64 length, const std::string& path)
{
    BFile out(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS);
    if (out.InitCheck() != B_OK)
        return Fail(out.InitCheck(), "cannot create " + path);
    std::vector<char> buffer(kChunkSize);
    for (uint64 done = 0; done < length;) {
        if (Stopped())
            return Fail(B_CANCELED, "stopped");
        size_t piece = size_t(std::min<uint64>(kChunkSize, length - done));
        ssize_t got = file.ReadAt(off_t(offset + done), buffer.data(), piece);
        if (got != ssize_t(piece))
            return Fail(B_IO_ERROR, "the archive cannot be read");
        ssize_t put = out.WriteAt(off_t(done), buffer.data(), piece);
        if (put != ssize_t(piece))
            return Fail(put < 0 ? status_t(put) : B_IO_ERROR, "cannot write " + path);
        done += piece;
        if (fOptions.progress)
            fOptions.progress(done, length);
    }
    return B_OK;
}

status_t LibArchivePlacer::Stage(const Request& request)
{
    status_t status = fStage.CreateBeside(request.destination);
    if (status != B_OK) {
        return Fail(status,
            std::string("cannot create a temporary folder beside ") + request.destination + ": "
                + status_text(status));
    }
    return B_OK;
}

ZipExtractOptions LibArchivePlacer::ExtractOptions() const
{
    ZipExtractOptions options;
    options.shouldStop = fOptions.shouldStop;
    options.progress = fOptions.progress;
    options.everyNode = fOptions.everyNode;
    // Typed as it is written: no second pass reads the files again.
    options.assignTypes = true;
    options.writers = fOptions.writers;
    return options;
}

status_t LibArchivePlacer::Place(
    const BFile& file, uint64 offset, uint64 length, const Request& request)
{
    fError.clear();
    if (request.destination == nullptr || *request.destination == '\0')
        return Fail(B_BAD_VALUE, "no destination");
    if (file.InitCheck() != B_OK)
        return Fail(file.InitCheck(), "the archive's file is not open");
    if (request.checksum) {
        status_t status = Verify(file, offset, length, *request.checksum);
        if (status != B_OK)
            return status;
    }
    StagingFolder stage;
    status_t status = stage.CreateBeside(request.destination);
    if (status != B_OK) {
        return Fail(status,
            std::string("cannot create a temporary folder beside ") + request.destination + ": "
                + status_text(status));
    }
    if (!request.unzip) {
        std::string archive = join_path(stage.Path(), kArchiveName);
        status = CopyOut(file, offset, length, archive);
        return status == B_OK ? Finish(archive, request) : status;
    }
    ZipReader reader;
    status = reader.Open(file.FileDescriptor(), offset, length);
    if (status != B_OK)
        return Fail(status, reader.ErrorMessage());
    std::string folder = join_path(stage.Path(), kItemFolderName);
    status = create_directory(folder.c_str(), 0700);
    if (status != B_OK)
        return Fail(status, "cannot create " + folder + ": " + status_text(status));
    ZipExtractor extractor(ExtractOptions());
    std::string item;
    status = extractor.Extract(reader, folder.c_str(), &item);
    if (status != B_OK)
        return Fail(status, extractor.ErrorMessage());
    if (request.itemName != nullptr && leaf_name(item) != request.itemName) {
        return Fail(B_ENTRY_NOT_FOUND,
            std::string("the archive holds no item named \"") + request.itemName + "\"");
    }
    return Finish(item, request);
}

status_t LibArchivePlacer::Begin(
    const BFile& file, uint64 offset, uint64 length, const Request& request)
{
    fError.clear();
    fBeginStatus = B_BAD_VALUE;
    if (request.destination == nullptr || *request.destination == '\0' || !request.unzip)
        return Fail(B_BAD_VALUE, "no destination");
    fDestination = request.destination;
    fItemName = request.itemName != nullptr ? request.itemName : "";
    fBeginStatus = file.InitCheck() != B_OK
        ? Fail(file.InitCheck(), "the archive's file is not open")
        : request.checksum ? Verify(file, offset, length, *request.checksum)
                           : B_OK;
    if (fBeginStatus == B_OK)
        fBeginStatus = Stage(request);
    if (fBeginStatus == B_OK
        && (fBeginStatus = fReader.Open(file.FileDescriptor(), offset, length)) != B_OK)
        Fail(fBeginStatus, fReader.ErrorMessage());
    std::string folder = join_path(fStage.Path(), kItemFolderName);
    if (fBeginStatus == B_OK && (fBeginStatus = create_directory(folder.c_str(), 0700)) != B_OK)
        Fail(fBeginStatus, "cannot create " + folder + ": " + status_text(fBeginStatus));
    if (fBeginStatus != B_OK)
        return fBeginStatus;
    fExtractor = std::make_unique<ZipExtractor>(ExtractOptions());
    if ((fBeginStatus = fExtractor->Begin(fReader, folder.c_str())) != B_OK)
        Fail(fBeginStatus, fExtractor->ErrorMessage());
    return fBeginStatus;
}

bool LibArchivePlacer::Advance()
{
    return fExtractor == nullptr || fExtractor->Advance();
}

bool LibArchivePlacer::Settled() const
{
    return fExtractor == nullptr || fExtractor->Settled();
}

void LibArchivePlacer::Stop()
{
    if (fExtractor != nullptr)
        fExtractor->Stop();
}

status_t LibArchivePlacer::Complete(const std::function<void(const char* item)>& prepare)
{
    if (prepare)
        fOptions.prepare = prepare;
    if (fExtractor == nullptr)
        return fBeginStatus == B_OK ? Fail(B_NO_INIT, "nothing was begun") : fBeginStatus;
    std::string item;
    status_t status = fExtractor->End(&item);
    if (status != B_OK)
        return Fail(status, fExtractor->ErrorMessage());
    if (!fItemName.empty() && leaf_name(item) != fItemName) {
        return Fail(B_ENTRY_NOT_FOUND,
            std::string("the archive holds no item named \"") + fItemName + "\"");
    }
    Request request;
    request.destination = fDestination.c_str();
    status = Finish(item, request);
    // Only the (empty) staging folder stays until the placer goes.
    fExtractor.reset();
    fReader.Close();
    return status;
}

status_t LibArchivePlacer::Place(const std::string& archive, const Request& request)
{
    fError.clear();
    if (request.destination == nullptr || *request.destination == '\0')
        return Fail(B_BAD_VALUE, "no destination");
    // The bytes need a file for the reader: one in a staging folder of its
    // own, on the destination's volume too.
    StagingFolder stage;
    status_t status = stage.CreateBeside(request.destination);
    if (status != B_OK) {
        return Fail(status,
            std::string("cannot create a temporary folder beside ") + request.destination + ": "
                + status_text(status));
    }
    std::string path = join_path(stage.Path(), kArchiveName);
    BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE | B_FAIL_IF_EXISTS);
    if (file.InitCheck() != B_OK)
        return Fail(file.InitCheck(), "cannot create " + path);
    ssize_t put = file.WriteAt(0, archive.data(), archive.size());
    if (put != ssize_t(archive.size()))
        return Fail(put < 0 ? status_t(put) : B_IO_ERROR, "cannot write " + path);
    if (!request.unzip)
        return Finish(path, request);
    return Place(file, 0, archive.size(), request);
}

status_t LibArchivePlacer::Finish(const std::string& item, const Request& request)
{
    if (Stopped())
        return Fail(B_CANCELED, "stopped");
    if (fOptions.prepare)
        fOptions.prepare(item.c_str());
    status_t status = move_entry(item.c_str(), request.destination, TargetMode::ExactPath);
    if (status != B_OK) {
        return Fail(status,
            std::string("cannot place the item at ") + request.destination + ": "
                + status_text(status));
    }
    // An unpacked item was typed as it was written; an archive placed as
    // it is gets its type here.
    if (!request.unzip)
        LibAssignMissingTypes(request.destination);
    return B_OK;
}

status_t LibAssignMissingTypes(const char* path)
{
    // Detection reads files and folders, and the attribute store reads
    // links: the access times they had are put back afterwards.
    BEntry entry(path);
    struct stat before;
    status_t status = entry.GetStat(&before);
    if (status != B_OK)
        return status;
    BNode node(path);
    BNodeInfo info(&node);
    char type[B_MIME_TYPE_LENGTH];
    if (info.GetType(type) != B_OK || type[0] == '\0') {
        std::string detected = detect_mime_type(path);
        status = detected.empty() ? B_ENTRY_NOT_FOUND : info.SetType(detected.c_str());
    }
    if (S_ISDIR(before.st_mode)) {
        BDirectory folder(path);
        BEntry child;
        while (folder.GetNextEntry(&child) == B_OK) {
            status_t childStatus = LibAssignMissingTypes(child.Path());
            if (status == B_OK)
                status = childStatus;
        }
    }
    struct stat after;
    if (entry.GetStat(&after) == B_OK && after.st_atim.tv_sec != before.st_atim.tv_sec)
        entry.SetAccessTime(before.st_atim.tv_sec);
    return status;
}
