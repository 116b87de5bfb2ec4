// Extracts a payload archive's item into a folder, safely: nothing is
// written outside the item, no link met on the way is followed, a file item
// is written beside its final name and renamed into place, a folder item is
// built inside its own new folder, and on failure or stop nothing of the
// item remains. Restores modes, modification and access times (folders
// after their contents) and attributes. Files may be written on a pool of
// threads (ZipWriterPool), several at once.
#pragma once

#include "ZipNodeAttributeStore.h"
#include "ZipReader.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class ZipWriterPool;

struct ZipExtractOptions {
    // Null: attribute fields are checked, not written.
    ZipAttributeStore* attributes = ZipNodeAttributeStore::Default();
    // Asked between members and, without writers, for every chunk of data;
    // on the calling thread.
    std::function<bool()> shouldStop;
    // Bytes of file data written; on the calling thread.
    std::function<void(uint64 done, uint64 total)> progress;
    // Given to every node of the item after the archive's own attributes
    // (an installer's tag).
    ZipAttributeList everyNode;
    // Every node gets the file type its content shows ("BEOS:TYPE") where
    // the archive gives it none.
    bool assignTypes = false;
    // Files are written on these threads; without, on the calling one.
    ZipWriterPool* writers = nullptr;
};

class ZipExtractor {
public:
    explicit ZipExtractor(ZipExtractOptions options = {});
    // Stops what is still being written, waits for it and removes an item
    // that was not finished (also when a stop check unwinds the thread).
    ~ZipExtractor();
    ZipExtractor(const ZipExtractor&) = delete;
    ZipExtractor& operator=(const ZipExtractor&) = delete;

    // Extracts the item of `reader`'s archive into the folder `destination`,
    // where nothing of the item's name may exist yet. `itemPath` receives the
    // extracted item's path.
    status_t Extract(ZipReader& reader, const char* destination, std::string* itemPath = nullptr);

    // Extract() in steps, for a caller that keeps several extractions going
    // on one pool of writers and checks for stops itself. Begin() lists the
    // archive and makes the item's folder; Advance() hands members on until
    // the writers' queue is full and tells whether all are handed on;
    // Settled() says every file handed on is written or given up; End(),
    // once settled, finishes the folders, or removes the item after a
    // failure or a Stop(). `reader` must stay open until End().
    status_t Begin(ZipReader& reader, const char* destination);
    bool Advance();
    bool Settled() const;
    void Stop();
    status_t End(std::string* itemPath = nullptr);
    uint64 Done() const { return fDone.load(std::memory_order_relaxed); }
    uint64 Total() const { return fTotal; }

    // Why the extraction failed, for people.
    const std::string& ErrorMessage() const { return fError; }

private:
    friend class ZipWriterPool;

    struct Folder {
        uint32 mode = 0755;
        bool hasTimes = false;
        ZipExtraFields::Times times;
        ZipAttributeList attributes;
    };
    // A writing thread's own reader of the archive and folder at hand.
    struct Slot {
        std::unique_ptr<ZipReader> reader;
        std::string folderName;
        int folderFd = -1;
    };

    static constexpr size_t kNoFailure = SIZE_MAX;
    // Folder attributes held until the folders are finished.
    static constexpr uint64 kMaxHeldAttributeBytes = 64 * 1024 * 1024;

    bool HandOn(size_t index, const ZipMember& member);
    status_t ExtractFolder(size_t index, const ZipMember& member);
    status_t ExtractLink(size_t index, const ZipMember& member);
    status_t ExtractFile(Slot& slot, size_t index, bool pooled);
    status_t WriteData(ZipReader& reader, size_t index, int fd, bool pooled,
        ZipMemberDetails& details, std::string& head);
    // On a pool thread.
    void WriteQueued(int slot, size_t index);
    void WaitForWriters();
    status_t FinishFolders();
    status_t OpenFolder(size_t index, const std::string& name, bool create, int& fd);
    status_t OpenFolderFor(Slot& slot, size_t index, const std::string& name, int& fd);
    status_t WriteAttributes(size_t index, int fd, const std::string& name,
        const ZipAttributeList& own, const char* detectedType);
    void CloseSlots();
    std::string PathOf(const std::string& name) const;
    bool Cancelled(size_t index) const
    {
        return index >= fCancelFrom.load(std::memory_order_acquire);
    }
    bool Failed() const { return fCancelFrom.load(std::memory_order_acquire) != kNoFailure; }
    // The failure of the member earliest in the archive is the one told.
    status_t Fail(size_t index, status_t status, const std::string& message);
    status_t FailErrno(size_t index, const std::string& what, const std::string& name);
    void ForgetCachedFolder();

    ZipExtractOptions fOptions;
    ZipReader* fReader = nullptr;
    const ZipListing* fListing = nullptr;
    std::string fDestination;
    int fDestinationFd = -1;
    bool fCreated = false; // the item's folder, ours to remove on failure
    bool fBegun = false;
    size_t fNext = 0; // the next member to hand on
    std::string fCachedName;
    int fCachedFd = -1;
    std::map<std::string, Folder> fFolders;
    uint64 fHeldAttributeBytes = 0;
    std::atomic<uint64> fDone {0};
    uint64 fTotal = 0;
    std::vector<Slot> fSlots;
    std::atomic<size_t> fPending {0};
    std::atomic<size_t> fCancelFrom {kNoFailure}; // members from here on give up
    mutable std::mutex fFailureMutex;
    size_t fFailedMember = kNoFailure;
    status_t fStatus = B_OK;
    std::string fError;
};
