#include "LooperPort.h"

#include <cstdio>

LooperPort::LooperPort(BLooper* looper, int32 capacity)
    : fCapacity(size_t(capacity > 0 ? capacity : 1))
    , fLooper(looper)
{ }

status_t LooperPort::Send(std::unique_ptr<BMessage> message, int32 handlerToken,
    const BMessenger& replyTo, bigtime_t timeout)
{
    thread_id self = find_thread(nullptr);
    std::unique_lock lock(fMutex);
    if (!fOpen)
        return B_BAD_PORT_ID;
    bool dispatcher = fDispatchThread >= 0 && self == fDispatchThread;
    status_t status = dispatcher ? B_OK : thread_block(fNotFull, lock, timeout, [this] {
        return fQueue.size() < fCapacity || !fOpen;
    });
    if (status != B_OK)
        return status;
    if (!fOpen)
        return B_BAD_PORT_ID;
    // Accepting the message is the killed sender's point of no return: after
    // kill_thread has returned, nothing the killed thread sends gets in.
    status = thread_commit([&] {
        fQueue.push_back(LooperEnvelope {std::move(message), handlerToken, replyTo, false});
    });
    if (status != B_OK)
        return status;
    fNotEmpty.notify_all();
    lock.unlock();
    Wake();
    return B_OK;
}

void LooperPort::SendQuit()
{
    {
        std::lock_guard lock(fMutex);
        if (!fOpen)
            return;
        LooperEnvelope envelope;
        envelope.quit = true;
        fQueue.push_back(std::move(envelope));
        fNotEmpty.notify_all();
    }
    Wake();
}

status_t LooperPort::Receive(LooperEnvelope* envelope, bigtime_t timeout)
{
    std::unique_lock lock(fMutex);
    status_t status = thread_block(
        fNotEmpty, lock, timeout, [this] { return !fQueue.empty() || !fOpen; }, B_THREAD_RECEIVING);
    if (status != B_OK)
        return status;
    if (!fOpen)
        return B_BAD_PORT_ID;
    *envelope = std::move(fQueue.front());
    fQueue.pop_front();
    fNotFull.notify_all();
    return B_OK;
}

bool LooperPort::HasMessages() const
{
    std::lock_guard lock(fMutex);
    return !fQueue.empty();
}

int32 LooperPort::CountMessages() const
{
    std::lock_guard lock(fMutex);
    return int32(fQueue.size());
}

void LooperPort::Close()
{
    std::deque<LooperEnvelope> dropped;
    {
        std::lock_guard lock(fMutex);
        fOpen = false;
        fLooper = nullptr;
        fHandlers.clear();
        fWakeHook = nullptr;
        dropped.swap(fQueue);
        fNotEmpty.notify_all();
        fNotFull.notify_all();
        fLockFree.notify_all();
    }
    // The dropped messages may hold messengers of this very port; they are
    // released here, outside the lock.
}

bool LooperPort::IsOpen() const
{
    std::lock_guard lock(fMutex);
    return fOpen;
}

void LooperPort::MarkGone()
{
    std::lock_guard lock(fMutex);
    fGone = true;
    fGoneCondition.notify_all();
}

void LooperPort::WaitUntilGone()
{
    std::unique_lock lock(fMutex);
    fGoneCondition.wait(lock, [this] { return fGone; });
}

status_t LooperPort::Lock(bigtime_t timeout)
{
    thread_id self = find_thread(nullptr);
    std::unique_lock lock(fMutex);
    if (!fOpen)
        return B_BAD_VALUE;
    if (fOwner == self) {
        ++fLockCount;
        return B_OK;
    }
    status_t status
        = thread_block(fLockFree, lock, timeout, [this] { return fOwner < 0 || !fOpen; });
    if (status != B_OK)
        return status;
    if (!fOpen)
        return B_BAD_VALUE;
    fOwner = self;
    fLockCount = 1;
    return B_OK;
}

void LooperPort::Unlock()
{
    thread_id self = find_thread(nullptr);
    std::lock_guard lock(fMutex);
    if (fOwner != self) {
        fprintf(stderr, "BLooper::Unlock(): the looper is not locked by this thread\n");
        return;
    }
    if (--fLockCount == 0) {
        fOwner = -1;
        fLockFree.notify_all();
    }
}

int32 LooperPort::UnlockAll()
{
    thread_id self = find_thread(nullptr);
    std::lock_guard lock(fMutex);
    if (fOwner != self)
        return 0;
    int32 count = fLockCount;
    fOwner = -1;
    fLockCount = 0;
    fLockFree.notify_all();
    return count;
}

thread_id LooperPort::LockingThread() const
{
    std::lock_guard lock(fMutex);
    return fOwner;
}

int32 LooperPort::CountLocks() const
{
    std::lock_guard lock(fMutex);
    return fLockCount;
}

void LooperPort::AddHandler(BHandler* handler, int32 token)
{
    std::lock_guard lock(fMutex);
    if (fOpen)
        fHandlers[token] = handler;
}

void LooperPort::RemoveHandler(int32 token)
{
    std::lock_guard lock(fMutex);
    fHandlers.erase(token);
}

BHandler* LooperPort::HandlerFor(int32 token) const
{
    std::lock_guard lock(fMutex);
    auto found = fHandlers.find(token);
    return found == fHandlers.end() ? nullptr : found->second;
}

BLooper* LooperPort::Looper() const
{
    std::lock_guard lock(fMutex);
    return fLooper;
}

void LooperPort::SetWakeHook(std::function<void()> hook)
{
    std::lock_guard lock(fMutex);
    fWakeHook = std::move(hook);
    fWakePending = false;
}

void LooperPort::SetDispatchThread(thread_id thread)
{
    std::lock_guard lock(fMutex);
    fDispatchThread = thread;
}

void LooperPort::ClearWakePending()
{
    std::lock_guard lock(fMutex);
    fWakePending = false;
}

void LooperPort::Wake()
{
    std::function<void()> hook;
    {
        std::lock_guard lock(fMutex);
        if (!fWakeHook || fWakePending || fQueue.empty())
            return;
        fWakePending = true;
        hook = fWakeHook;
    }
    hook();
}
