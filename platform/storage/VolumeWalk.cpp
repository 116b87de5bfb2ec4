#include "VolumeWalk.h"

#include "AttributeStore.h"
#include "WalkFolderReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// How long the calling thread waits for work before it reports progress
// (and so gives a stop its chance) again.
constexpr std::chrono::milliseconds kProgressWait {10};

int ThreadCount(const VolumeWalkOptions& options)
{
    if (options.threads > 0)
        return options.threads;
    // Beyond a few threads the folders' locks, not the processors, set the pace.
    return std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
}

// The helper threads, stopped and joined however the walk ends.
class Helpers {
public:
    Helpers(WalkShared& shared, int count)
        : fShared(shared)
    {
        for (int i = 0; i < count; ++i)
            fThreads.emplace_back([&shared] { Work(shared); });
    }
    ~Helpers()
    {
        fShared.queue.Stop();
        for (std::thread& thread : fThreads)
            thread.join();
    }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

private:
    static void Work(WalkShared& shared)
    {
        WalkFolderReader reader(shared);
        while (WalkTask* task = shared.queue.Take()) {
            reader.Read(*task);
            shared.queue.Done();
        }
    }

    WalkShared& fShared;
    std::vector<std::thread> fThreads;
};

// Hands the visitor what the threads have counted since the last report.
class ProgressReporter {
public:
    // The first folder read is the walk's top, whichever thread reads it.
    ProgressReporter(WalkShared& shared, VolumeWalkVisitor& visitor, std::string topFolder)
        : fShared(shared)
        , fVisitor(visitor)
        , fFolder(std::move(topFolder))
    { }

    void Report(const char* folder)
    {
        if (folder != nullptr && *folder != '\0')
            fFolder = folder;
        WalkProgress progress;
        progress.folder = fFolder.c_str();
        progress.entries = Take(fShared.entries, fEntries);
        progress.bytes = Take(fShared.bytes, fBytes);
        progress.found = Take(fShared.found, fFound);
        fVisitor.Progress(progress);
    }
    void ReportLatest() { Report(fShared.queue.LatestFolder().c_str()); }

private:
    static int64 Take(const std::atomic<int64>& total, int64& reported)
    {
        int64 now = total.load(std::memory_order_relaxed);
        return now - std::exchange(reported, now);
    }

    WalkShared& fShared;
    VolumeWalkVisitor& fVisitor;
    std::string fFolder;
    int64 fEntries = 0;
    int64 fBytes = 0;
    int64 fFound = 0;
};

// The calling thread reads folders like the helpers, and between them
// reports progress, until every subtree is read.
void WalkAll(WalkShared& shared, WalkTask& top, int threads, VolumeWalkVisitor& visitor)
{
    ProgressReporter reporter(shared, visitor, top.Leaf());
    reporter.Report(nullptr); // the walk starts at its top folder
    shared.queue.Push(&top);
    WalkFolderReader reader(shared);
    reader.SetFolderHook([&reporter](const char* name) { reporter.Report(name); });
    Helpers helpers(shared, threads - 1);
    for (;;) {
        if (WalkTask* task = shared.queue.TakeWithin(kProgressWait)) {
            reader.Read(*task);
            shared.queue.Done();
        } else if (shared.queue.Finished()) {
            break;
        } else {
            reporter.ReportLatest();
        }
    }
    reporter.Report(nullptr);
}

void Replay(WalkTask& task, const VolumeWalkOptions& options, VolumeWalkVisitor& visitor)
{
    for (WalkTask::Item& item : task.items) {
        if (auto* found = std::get_if<WalkFound>(&item)) {
            found->entry.path = &found->path;
            found->entry.name = found->path.c_str() + found->nameOffset;
            found->entry.value = options.wantedValue.empty() ? std::string_view(found->value)
                                                             : options.wantedValue;
            visitor.VisitEntry(found->entry);
        } else {
            Replay(*std::get<std::unique_ptr<WalkTask>>(item), options, visitor);
        }
    }
}

} // namespace

status_t walk_volume(const char* root, const VolumeWalkOptions& options, VolumeWalkVisitor& visitor)
{
    if (root == nullptr || *root != '/')
        return B_BAD_VALUE;
    int fd = open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        status_t status = status_from_errno(errno);
        if (fd >= 0)
            close(fd);
        return status;
    }
    std::string path = root;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    auto top = std::make_unique<WalkTask>(fd, path, st.st_size);

    WalkShared shared(options, st.st_dev);
    if (!options.attribute.empty()) {
        std::vector<uint64> inodes;
        AttributeStore::ListInodes(uint64(st.st_dev), inodes);
        shared.storeInodes.insert(inodes.begin(), inodes.end());
    }
    WalkAll(shared, *top, ThreadCount(options), visitor);
    Replay(*top, options, visitor);
    return B_OK;
}
