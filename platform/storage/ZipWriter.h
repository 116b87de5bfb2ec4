// Writes a payload archive: one file or folder (recursively, empty folders
// and symbolic links included) under its leaf name, with the extended time
// stamp, Unix owner and attribute ("Be") fields, readable by Info-ZIP's
// unzip; Zip64 fields and end records where a size or the member count
// needs them. Streams through fixed buffers whatever the item's size; the archive
// is written beside its final path and renamed into place when complete.
#pragma once

#include "ZipNodeAttributeStore.h"

#include <functional>
#include <string>
#include <sys/types.h>

struct ZipFileRange;

struct ZipWriteOptions {
    int level = 9;                                                    // 0 stores, 1 to 9 deflate
    ZipAttributeStore* attributes = ZipNodeAttributeStore::Default(); // null: none
    std::function<bool()> shouldStop;                                 // asked between chunks
    std::function<void(uint64 done)> progress;                        // bytes of item data so far
};

class ZipWriter {
public:
    static constexpr size_t kChunkSize = 256 * 1024;

    explicit ZipWriter(ZipWriteOptions options = {});
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Archives the item at `itemPath` into `archivePath`, replacing what is
    // there only once the archive is whole. A link given as the item is
    // followed; links inside a folder are stored as links.
    status_t Write(const char* itemPath, const char* archivePath);

    // Why the last Write failed, for people.
    const std::string& ErrorMessage() const { return fError; }

private:
    struct Node;

    status_t Add(const std::string& path, const std::string& name, const Node& node);
    status_t AddFolder(const std::string& path, const std::string& name, const Node& node);
    status_t AddFile(const std::string& path, const std::string& name);
    status_t AddLink(const std::string& path, const std::string& name, const Node& node);
    status_t OpenEntry(
        const std::string& path, const std::string& name, const Node& node, bool large);
    status_t CloseEntry(const std::string& name);
    bool Skipped(const Node& node) const;
    std::string Reason(int minizipResult) const;
    status_t Fail(status_t status, const std::string& message);

    ZipWriteOptions fOptions;
    void* fArchive = nullptr;
    ZipFileRange* fRange = nullptr; // while an archive is being written
    uint64 fEntries = 0;
    dev_t fSkipDevice[2] = {};
    ino_t fSkipInode[2] = {};
    uint64 fDone = 0;
    char* fBuffer = nullptr;
    std::string fError;
};
