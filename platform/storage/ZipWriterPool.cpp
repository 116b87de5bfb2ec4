#include "ZipWriterPool.h"

#include "ZipExtractor.h"

#include <algorithm>
#include <sched.h>

namespace {

// Files waiting per thread: enough that no thread waits for the caller to
// hand the next one on, few enough that little is open at a time.
constexpr size_t kQueuedPerThread = 4;

} // namespace

ZipWriterPool::ZipWriterPool(int threads)
{
    int count = threads > 0 ? std::min(threads, kMaxThreads) : ProcessorCount();
    fQueueLimit = kQueuedPerThread * size_t(count);
    for (int slot = 0; slot < count; ++slot)
        fThreads.emplace_back([this, slot] { Work(slot); });
}

ZipWriterPool::~ZipWriterPool()
{
    {
        std::lock_guard lock(fMutex);
        fQuit = true;
    }
    fJobsChanged.notify_all();
    fRoomChanged.notify_all();
    for (std::thread& thread : fThreads)
        thread.join();
}

int ZipWriterPool::ProcessorCount()
{
    cpu_set_t set;
    int count = sched_getaffinity(0, sizeof set, &set) == 0
        ? CPU_COUNT(&set)
        : int(std::thread::hardware_concurrency());
    return std::clamp(count, 1, kMaxThreads);
}

bool ZipWriterPool::TryQueue(ZipExtractor* owner, size_t index)
{
    {
        std::lock_guard lock(fMutex);
        if (fQueue.size() >= fQueueLimit)
            return false;
        fQueue.push_back({owner, index});
    }
    fJobsChanged.notify_one();
    return true;
}

void ZipWriterPool::Work(int slot)
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(fMutex);
            fJobsChanged.wait(lock, [this] { return fQuit || !fQueue.empty(); });
            // Queued files are written (or given up by their owner) even
            // when the pool is going: their owners wait for them.
            if (fQueue.empty())
                return;
            job = fQueue.front();
            fQueue.pop_front();
            if (fQueue.size() <= fQueueLimit / 2)
                Signal(lock);
        }
        job.owner->WriteQueued(slot, job.index);
        std::unique_lock lock(fMutex);
        Signal(lock);
    }
}

void ZipWriterPool::Signal(std::unique_lock<std::mutex>&)
{
    ++fEvents;
    fEvent.notify_one();
}

bool ZipWriterPool::Reserve(uint64 size, const std::function<bool()>& cancelled)
{
    std::unique_lock lock(fMutex);
    // A piece larger than the whole window still goes when nothing else is
    // outstanding.
    while (fWritten + size > fAcknowledged + kWriteAhead && fWritten > fAcknowledged) {
        if (cancelled())
            return false;
        fRoomChanged.wait(lock);
    }
    if (cancelled())
        return false;
    fWritten += size;
    if (fWritten - fSignalled >= kWriteAhead / 2) {
        fSignalled = fWritten;
        Signal(lock);
    }
    return true;
}

void ZipWriterPool::WakeWriters()
{
    // Taken so that a thread between its check and its wait cannot miss it.
    std::lock_guard lock(fMutex);
    fRoomChanged.notify_all();
}

void ZipWriterPool::Wait(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(fMutex);
    fEvent.wait_for(lock, timeout, [this] { return fEvents != fEventsSeen; });
    fEventsSeen = fEvents;
}

uint64 ZipWriterPool::Written() const
{
    std::lock_guard lock(fMutex);
    return fWritten;
}

void ZipWriterPool::Acknowledge(uint64 written)
{
    {
        std::lock_guard lock(fMutex);
        fAcknowledged = std::max(fAcknowledged, written);
    }
    fRoomChanged.notify_all();
}
