// The folders a volume walk hands from one thread to another: a stack of
// subtrees waiting for a thread, the count of those not yet finished, and
// the stop that ends every thread's part early.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

struct WalkTask;

class WalkTaskQueue {
public:
    // Hands a subtree on; it counts as unfinished until Done().
    void Push(WalkTask* task);
    // The next subtree, waiting for one; nullptr once every subtree is
    // finished or the walk stops.
    WalkTask* Take();
    // The next subtree if one comes within `wait`; nullptr otherwise.
    WalkTask* TakeWithin(std::chrono::milliseconds wait);
    // A taken subtree has been read.
    void Done();

    bool Finished() const;
    void Stop();
    bool Stopping() const { return fStopping.load(std::memory_order_relaxed); }
    // Whether a subtree handed on now would be taken at once: some thread
    // waits for work that is not there yet. Asks no lock, so that it can be
    // asked for every folder.
    bool WantsWork() const
    {
        return fIdle.load(std::memory_order_relaxed) > fWaiting.load(std::memory_order_relaxed);
    }
    // The leaf of the folder most recently taken, for progress.
    std::string LatestFolder() const;

private:
    WalkTask* PopLocked();
    bool Over() const { return fUnfinished == 0 || Stopping(); }

    mutable std::mutex fMutex;
    std::condition_variable fChanged;
    std::vector<WalkTask*> fPending;
    int fUnfinished = 0;
    std::string fLatestFolder;
    std::atomic<int> fIdle {0};
    std::atomic<int> fWaiting {0};
    std::atomic<bool> fStopping {false};
};
