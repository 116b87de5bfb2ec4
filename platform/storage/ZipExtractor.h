// Extracts a payload archive's item into a folder, safely: nothing is
// written outside the item, no link met on the way is followed, every file
// is written beside its final name and renamed into place, and on failure or
// stop nothing of the item remains. Restores modes, modification and access
// times (folders after their contents) and attributes.
#pragma once

#include "ZipNodeAttributeStore.h"
#include "ZipReader.h"

#include <functional>
#include <map>
#include <string>

struct ZipExtractOptions {
    // Null: attribute fields are checked, not written.
    ZipAttributeStore* attributes = ZipNodeAttributeStore::Default();
    std::function<bool()> shouldStop;                        // asked for every chunk of data
    std::function<void(uint64 done, uint64 total)> progress; // bytes of file data
};

class ZipExtractor {
public:
    explicit ZipExtractor(ZipExtractOptions options = {});
    ~ZipExtractor();
    ZipExtractor(const ZipExtractor&) = delete;
    ZipExtractor& operator=(const ZipExtractor&) = delete;

    // Extracts the item of `reader`'s archive into the folder `destination`,
    // where nothing of the item's name may exist yet. `itemPath` receives the
    // extracted item's path.
    status_t Extract(ZipReader& reader, const char* destination, std::string* itemPath = nullptr);

    // Why the last Extract failed, for people.
    const std::string& ErrorMessage() const { return fError; }

private:
    struct Folder {
        uint32 mode = 0755;
        bool hasTimes = false;
        ZipExtraFields::Times times;
        ZipAttributeList attributes;
    };

    // Folder attributes held until the folders are finished.
    static constexpr uint64 kMaxHeldAttributeBytes = 64 * 1024 * 1024;

    status_t ExtractAll(ZipReader& reader, const ZipListing& listing);
    status_t ExtractFolder(ZipReader& reader, size_t index, const ZipMember& member);
    status_t ExtractFile(ZipReader& reader, size_t index, const ZipMember& member);
    status_t ExtractLink(ZipReader& reader, size_t index, const ZipMember& member);
    status_t FinishFolders();
    status_t OpenFolder(const std::string& name, bool create, int& fd);
    status_t WriteAttributes(const std::string& name, const ZipAttributeList& attributes);
    std::string PathOf(const std::string& name) const;
    status_t Fail(status_t status, const std::string& message);
    status_t FailErrno(const std::string& what, const std::string& name);
    void ForgetCachedFolder();

    ZipExtractOptions fOptions;
    std::string fDestination;
    int fDestinationFd = -1;
    std::string fCachedName;
    int fCachedFd = -1;
    std::map<std::string, Folder> fFolders;
    uint64 fHeldAttributeBytes = 0;
    uint64 fDone = 0;
    uint64 fTotal = 0;
    std::string fError;
};
