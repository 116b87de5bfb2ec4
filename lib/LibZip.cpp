#include "LibZip.h"

#include "BEntry.h"
#include "FileOperations.h"
#include "PathText.h"
#include "StagingFolder.h"
#include "StatusText.h"
#include "ZipExtractor.h"
#include "ZipReader.h"
#include "ZipWriter.h"

#include <cstdio>
#include <string>

namespace {

bool Report(const char* function, const std::string& message)
{
    fprintf(stderr, "%s: %s\n", function, message.c_str());
    return false;
}

// Places the unpacked `item` at `target`, merging folders.
status_t PlaceOver(const std::string& item, const std::string& target)
{
    BEntry existing(target.c_str());
    BEntry unpacked(item.c_str());
    if (existing.IsDirectory() && unpacked.IsDirectory())
        return copy_entry(item.c_str(), target.c_str(), TargetMode::ExactPath);
    return move_entry(item.c_str(), target.c_str(), TargetMode::ExactPath);
}

} // namespace

bool LibZip(const char* archive, const BPath& source, int level)
{
    if (archive == nullptr || *archive == '\0' || source.Path() == nullptr)
        return Report("LibZip", "no archive or no source given");
    ZipWriteOptions options;
    options.level = level;
    ZipWriter writer(options);
    status_t status = writer.Write(source.Path(), archive);
    if (status != B_OK)
        return Report("LibZip", writer.ErrorMessage());
    return true;
}

bool LibUnzip(const char* archive)
{
    if (archive == nullptr || *archive == '\0')
        return Report("LibUnzip", "no archive given");
    std::string path = BPath::Clean(archive);
    ZipReader reader;
    status_t status = reader.Open(path.c_str());
    if (status != B_OK)
        return Report("LibUnzip", reader.ErrorMessage());
    ZipListing listing;
    status = reader.List(listing);
    if (status != B_OK)
        return Report("LibUnzip", reader.ErrorMessage());
    std::string target = join_path(parent_path(path), listing.itemName);
    StagingFolder stage;
    status = stage.CreateBeside(target.c_str());
    if (status != B_OK)
        return Report(
            "LibUnzip", std::string("cannot create a temporary folder: ") + status_text(status));
    ZipExtractor extractor;
    std::string item;
    status = extractor.Extract(reader, stage.Path().c_str(), &item);
    if (status != B_OK)
        return Report("LibUnzip", extractor.ErrorMessage());
    status = PlaceOver(item, target);
    if (status != B_OK)
        return Report("LibUnzip", "cannot place " + target + ": " + status_text(status));
    return true;
}
