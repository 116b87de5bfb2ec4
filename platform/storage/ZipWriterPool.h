// Threads that write the files of archives being extracted, shared by every
// extraction a caller keeps going (an install run unpacks its next items
// while it places the current one). A few files at most wait for a thread,
// and the threads write at most kWriteAhead bytes beyond what the caller
// last saw in a stop check, so that a stop takes effect within that much
// data whatever the threads' pace. One thread, the caller's, hands files on,
// waits and acknowledges.
#pragma once

#include "SupportDefs.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ZipExtractor;

class ZipWriterPool {
public:
    static constexpr uint64 kWriteAhead = 4 * 1024 * 1024;
    static constexpr int kMaxThreads = 8;

    // `threads` 0: one per processor this process may run on.
    explicit ZipWriterPool(int threads = 0);
    // Every extraction using the pool must have ended (or been destroyed).
    ~ZipWriterPool();
    ZipWriterPool(const ZipWriterPool&) = delete;
    ZipWriterPool& operator=(const ZipWriterPool&) = delete;

    int Threads() const { return int(fThreads.size()); }
    // The processors this process may run on (its affinity), 1 to kMaxThreads.
    static int ProcessorCount();

    // Waits until a file has been written, a good deal of data has, or
    // `timeout` has passed: the caller's turn to report and check for a stop.
    void Wait(std::chrono::milliseconds timeout);
    // Bytes the threads have taken on so far.
    uint64 Written() const;
    // The caller has seen `written` (from Written()) and was not stopped:
    // the threads may go on to kWriteAhead beyond it.
    void Acknowledge(uint64 written);

private:
    friend class ZipExtractor;
    struct Job {
        ZipExtractor* owner;
        size_t index;
    };

    // For ZipExtractor: queues member `index`; false when the queue is full.
    bool TryQueue(ZipExtractor* owner, size_t index);
    // On a pool thread, before writing `size` bytes: waits for room in the
    // write-ahead; false once `cancelled` says to give up.
    bool Reserve(uint64 size, const std::function<bool()>& cancelled);
    // Something a waiting thread's `cancelled` depends on has changed.
    void WakeWriters();
    void Work(int slot);
    void Signal(std::unique_lock<std::mutex>& lock);

    mutable std::mutex fMutex;
    std::condition_variable fJobsChanged;
    std::condition_variable fRoomChanged;
    std::condition_variable fEvent;
    std::deque<Job> fQueue;
    size_t fQueueLimit = 0;
    uint64 fWritten = 0;
    uint64 fAcknowledged = 0;
    uint64 fSignalled = 0; // fWritten when the caller was last woken for data
    uint64 fEvents = 0;
    uint64 fEventsSeen = 0;
    bool fQuit = false;
    std::vector<std::thread> fThreads;
};
