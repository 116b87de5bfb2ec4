// Reads the folders of a volume walk on one thread: a subtree's folders
// depth first, each in its own order, keeping what is found in the
// subtree's items and handing a subfolder on whenever another thread waits
// for work.
#pragma once

#include "WalkAttributeReader.h"
#include "WalkTask.h"
#include "WalkTaskQueue.h"

#include <atomic>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unordered_set>

// What every walking thread shares.
struct WalkShared {
    WalkShared(const VolumeWalkOptions& walkOptions, dev_t walkDevice)
        : options(walkOptions)
        , device(walkDevice)
    { }

    const VolumeWalkOptions& options;
    dev_t device;
    std::unordered_set<uint64> storeInodes;
    WalkTaskQueue queue;
    std::atomic<int64> entries {0};
    std::atomic<int64> bytes {0};
    std::atomic<int64> found {0};
};

class WalkFolderReader {
public:
    explicit WalkFolderReader(WalkShared& shared);

    // Called with the leaf of the folder being read, before each batch of
    // its entries; may unwind.
    void SetFolderHook(std::function<void(const char*)> hook) { fFolderHook = std::move(hook); }

    // Reads `task`'s folder and everything below it that it does not hand on.
    void Read(WalkTask& task);

private:
    using Items = std::vector<WalkTask::Item>;

    void ReadFolder(int fd, const char* name, off_t size, Items& items);
    void VisitFolder(int parentFd, const char* name, Items& items);
    void VisitOther(int parentFd, const char* name, unsigned char type, ino_t inode, Items& items);
    void FinishFolder(int parentFd, const char* name, int fd, const struct stat& st, Items& items);
    void Met(const WalkEntry& entry, Items& items);
    void Flush();
    bool Wanted(const WalkEntry& entry) const;
    bool Skipped(const struct stat& st) const;
    char* BufferFor(size_t depth);

    WalkShared& fShared;
    WalkAttributeReader fAttributes;
    std::function<void(const char*)> fFolderHook;
    std::string fPath;
    std::vector<std::unique_ptr<char[]>> fDirBuffers;
    size_t fDepth = 0;
    int64 fEntries = 0;
    int64 fBytes = 0;
    int64 fFound = 0;
};
