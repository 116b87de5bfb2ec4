// Places a payload archive, or the item it holds, at a final path. The work
// is done in a hidden folder beside that path (on its volume, so the item
// arrives by rename, without a second copy), and the folder goes whatever
// happens: a refused, damaged or stopped archive leaves nothing behind and
// never a partial item at the final path. The archive is read in place:
// from a byte range of a file, or from memory.
#pragma once

#include "BFile.h"
#include "LibExtractOptions.h"
#include "StagingFolder.h"
#include "ZipExtractor.h"
#include "ZipReader.h"

#include <memory>
#include <optional>
#include <string>

class LibArchivePlacer {
public:
    explicit LibArchivePlacer(const LibExtractOptions& options = {});
    ~LibArchivePlacer();

    // What to do with the archive: write it as it is, or unpack its item.
    // With an `itemName`, only an item of that name is placed.
    struct Request {
        const char* destination = nullptr;
        bool unzip = true;
        const char* itemName = nullptr;
        // The bytes are checked against it before anything is written.
        std::optional<uint32> checksum;
    };

    // The archive is `length` bytes at `offset` of `file`.
    status_t Place(const BFile& file, uint64 offset, uint64 length, const Request& request);
    status_t Place(const std::string& archive, const Request& request);

    // Unpacking the item of the archive at `offset` of `file` in steps, on
    // the options' writers, for a caller that keeps several going and looks
    // for stops itself: Begin() checks the archive and starts, Advance()
    // hands files on to the writers and tells whether all are, Settled()
    // says all are written, Complete() prepares the item and places it.
    // `file` must stay open until then.
    status_t Begin(const BFile& file, uint64 offset, uint64 length, const Request& request);
    bool Advance();
    bool Settled() const;
    void Stop();
    // `prepare`, when given, takes the place of the options' one.
    status_t Complete(const std::function<void(const char* item)>& prepare = {});
    uint64 Done() const { return fExtractor ? fExtractor->Done() : 0; }
    uint64 Total() const { return fExtractor ? fExtractor->Total() : 0; }

    // Why the last Place failed, for people.
    const std::string& ErrorMessage() const { return fError; }

private:
    status_t Verify(const BFile& file, uint64 offset, uint64 length, uint32 checksum);
    status_t CopyOut(const BFile& file, uint64 offset, uint64 length, const std::string& path);
    status_t Stage(const Request& request);
    ZipExtractOptions ExtractOptions() const;
    status_t Finish(const std::string& item, const Request& request);
    status_t Fail(status_t status, const std::string& message);
    bool Stopped() const { return fOptions.shouldStop && fOptions.shouldStop(); }

    LibExtractOptions fOptions;
    std::string fError;
    // The steps' state, in the order it must go: the extractor (and its
    // writers) first, then the reader it reads through, then the folder.
    StagingFolder fStage;
    std::string fDestination;
    std::string fItemName;
    status_t fBeginStatus = B_NO_INIT;
    ZipReader fReader;
    std::unique_ptr<ZipExtractor> fExtractor;
};

// Gives every node at `path` (a folder's contents included, links not
// followed) the type detection finds, where it has none yet.
status_t LibAssignMissingTypes(const char* path);
