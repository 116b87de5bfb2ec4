#include "WalkTaskQueue.h"

#include "WalkTask.h"

void WalkTaskQueue::Push(WalkTask* task)
{
    {
        std::lock_guard lock(fMutex);
        ++fUnfinished;
        fPending.push_back(task);
        fWaiting.store(int(fPending.size()), std::memory_order_relaxed);
    }
    fChanged.notify_one();
}

WalkTask* WalkTaskQueue::Take()
{
    std::unique_lock lock(fMutex);
    fIdle.fetch_add(1, std::memory_order_relaxed);
    fChanged.wait(lock, [this] { return !fPending.empty() || Over(); });
    fIdle.fetch_sub(1, std::memory_order_relaxed);
    return PopLocked();
}

WalkTask* WalkTaskQueue::TakeWithin(std::chrono::milliseconds wait)
{
    std::unique_lock lock(fMutex);
    fIdle.fetch_add(1, std::memory_order_relaxed);
    fChanged.wait_for(lock, wait, [this] { return !fPending.empty() || Over(); });
    fIdle.fetch_sub(1, std::memory_order_relaxed);
    return PopLocked();
}

// Newest first: the walk stays deep in one part of the tree, so that few
// subtrees wait at a time.
WalkTask* WalkTaskQueue::PopLocked()
{
    if (fPending.empty() || Stopping())
        return nullptr;
    WalkTask* task = fPending.back();
    fPending.pop_back();
    fWaiting.store(int(fPending.size()), std::memory_order_relaxed);
    fLatestFolder = task->Leaf();
    return task;
}

void WalkTaskQueue::Done()
{
    bool over;
    {
        std::lock_guard lock(fMutex);
        over = --fUnfinished == 0;
    }
    if (over)
        fChanged.notify_all();
}

bool WalkTaskQueue::Finished() const
{
    std::lock_guard lock(fMutex);
    return fUnfinished == 0;
}

void WalkTaskQueue::Stop()
{
    {
        std::lock_guard lock(fMutex);
        fStopping.store(true, std::memory_order_relaxed);
    }
    fChanged.notify_all();
}

std::string WalkTaskQueue::LatestFolder() const
{
    std::lock_guard lock(fMutex);
    return fLatestFolder;
}
