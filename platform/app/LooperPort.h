// The shared core of a looper: its bounded message queue, its lock and the
// table of its handlers. Messengers and waiting lockers hold the port, not
// the looper, so that a looper that is gone shows up as a closed port instead
// of a dangling pointer.
#pragma once

#include "BMessage.h"
#include "BMessenger.h"
#include "KernelThreads.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

class BHandler;
class BLooper;

// Targets the looper's preferred handler rather than one handler.
constexpr int32 kPreferredHandlerToken = -1;

// One queued message with its target handler and reply address.
struct LooperEnvelope {
    std::unique_ptr<BMessage> message;
    int32 handlerToken = kPreferredHandlerToken;
    BMessenger replyTo;
    bool quit = false; // the looper's own quit notice
};

class LooperPort {
public:
    LooperPort(BLooper* looper, int32 capacity);
    LooperPort(const LooperPort&) = delete;
    LooperPort& operator=(const LooperPort&) = delete;

    // Queues a message, waiting up to `timeout` for room. B_BAD_PORT_ID once
    // the looper is gone; B_WOULD_BLOCK or B_TIMED_OUT when full. The
    // dispatching thread itself is never held back: only it could make room.
    status_t Send(std::unique_ptr<BMessage> message, int32 handlerToken, const BMessenger& replyTo,
        bigtime_t timeout);
    // Queues the quit notice behind the waiting messages, regardless of room.
    void SendQuit();
    // Takes the oldest message, waiting up to `timeout` for one.
    status_t Receive(LooperEnvelope* envelope, bigtime_t timeout);
    bool HasMessages() const;
    int32 CountMessages() const;

    // Refuses further messages and locks, drops the queued messages and
    // wakes everyone waiting. Then MarkGone() once the looper is destroyed.
    void Close();
    bool IsOpen() const;
    void MarkGone();
    void WaitUntilGone();

    // The looper's recursive lock, owned by a thread.
    status_t Lock(bigtime_t timeout);
    void Unlock();
    // Drops every lock the calling thread holds; returns how many.
    int32 UnlockAll();
    thread_id LockingThread() const;
    int32 CountLocks() const;

    // Handlers by token, so that a message to a removed handler is dropped.
    void AddHandler(BHandler* handler, int32 token);
    void RemoveHandler(int32 token);
    BHandler* HandlerFor(int32 token) const;
    BLooper* Looper() const;

    // Called, with no lock held, when messages wait and the looper's
    // dispatching thread is one the looper does not own.
    void SetWakeHook(std::function<void()> hook);
    // The thread that takes the messages.
    void SetDispatchThread(thread_id thread);
    void ClearWakePending();
    void Wake();

private:
    mutable std::mutex fMutex;
    std::condition_variable_any fNotEmpty;
    std::condition_variable_any fNotFull;
    std::condition_variable_any fLockFree;
    std::condition_variable_any fGoneCondition;
    std::deque<LooperEnvelope> fQueue;
    size_t fCapacity;
    bool fOpen = true;
    bool fGone = false;
    thread_id fOwner = -1;
    int32 fLockCount = 0;
    BLooper* fLooper;
    std::unordered_map<int32, BHandler*> fHandlers;
    std::function<void()> fWakeHook;
    bool fWakePending = false;
    thread_id fDispatchThread = -1;
};
