// A message loop: a bounded queue of messages, a recursive lock, and the
// thread that takes the messages one by one and hands them to their handlers
// with the lock held. A plain looper runs its own thread; a looper whose
// messages must be handled on a thread it does not own (a window on the UI
// thread) is given that thread and a wake-up hook instead.
#pragma once

#include "BHandler.h"
#include "BMessenger.h"
#include "KernelThreads.h"

#include <functional>
#include <memory>
#include <vector>

class LooperPort;
struct LooperEnvelope;

constexpr int32 B_LOOPER_PORT_DEFAULT_CAPACITY = 200;

class BLooper : public BHandler {
public:
    explicit BLooper(const char* name = nullptr, int32 priority = B_NORMAL_PRIORITY,
        int32 portCapacity = B_LOOPER_PORT_DEFAULT_CAPACITY);
    // A running looper ends through Quit(), which deletes it; deleting one
    // directly is for loopers that never ran.
    ~BLooper() override;

    // Queues a copy of the message without waiting: B_WOULD_BLOCK when the
    // queue is full. Without a handler argument the looper itself is the
    // target; a null handler means the preferred handler.
    status_t PostMessage(uint32 command);
    status_t PostMessage(BMessage* message);
    status_t PostMessage(uint32 command, BHandler* handler, BHandler* replyTo = nullptr);
    status_t PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo = nullptr);

    // B_QUIT_REQUESTED aimed at the looper asks QuitRequested() and quits;
    // everything else goes to the handler's MessageReceived().
    virtual void DispatchMessage(BMessage* message, BHandler* handler);
    void MessageReceived(BMessage* message) override;
    BMessage* CurrentMessage() const { return fCurrentMessage; }
    // Takes the current message over; the caller deletes it.
    BMessage* DetachCurrentMessage();

    void AddHandler(BHandler* handler);
    bool RemoveHandler(BHandler* handler);
    int32 CountHandlers() const { return int32(fHandlers.size()); }
    BHandler* HandlerAt(int32 index) const;
    int32 IndexOf(BHandler* handler) const;
    BHandler* PreferredHandler() const { return fPreferred; }
    void SetPreferredHandler(BHandler* handler);

    // Starts dispatching; returns the dispatching thread.
    virtual thread_id Run();
    // Ends the loop and deletes the looper. From the looper's own thread the
    // current message is finished first; from another thread the waiting
    // messages are handled, then the caller waits until the looper is gone.
    virtual void Quit();
    virtual bool QuitRequested();

    bool Lock();
    void Unlock();
    status_t LockWithTimeout(bigtime_t timeout);
    bool IsLocked() const;
    thread_id LockingThread() const;
    int32 CountLocks() const;
    thread_id Thread() const { return fThread; }
    // Messages waiting in the queue.
    int32 CountQueuedMessages() const;

    // Dispatching on a thread the looper does not own. Call before Run():
    // `wake` is then called from any thread, with no lock held, whenever
    // messages wait; `thread` answers by calling DispatchMessages().
    status_t SetDispatchThread(thread_id thread, std::function<void()> wake);
    // Handles up to `limit` waiting messages (all when negative) on the
    // calling thread. Returns how many, or -1 when the looper quit and is
    // deleted.
    int32 DispatchMessages(int32 limit = -1);

protected:
    // Hands `message` (which it takes over) to `handler` as if it had come
    // through the queue, CurrentMessage() answering it meanwhile: for what
    // does not travel through the queue, such as a window's input. The
    // caller holds the lock and is on the dispatching thread.
    void DispatchDirect(BMessage* message, BHandler* handler);
    // Whether a handler asked the looper to quit (it is deleted once the
    // dispatching thread gets back to it).
    bool IsTerminating() const { return fTerminating; }

private:
    friend class BHandler;
    friend class BMessenger;

    static int32 LoopEntry(void* data);
    void Loop();
    status_t Post(BMessage* message, int32 handlerToken, BHandler* replyTo);
    void Dispatch(LooperEnvelope& envelope);

    std::shared_ptr<LooperPort> fPort;
    std::vector<BHandler*> fHandlers;
    BHandler* fPreferred = nullptr;
    BMessage* fCurrentMessage = nullptr;
    BMessenger fCurrentReplyTo;
    std::function<void()> fWake;
    int32 fPriority;
    thread_id fThread = -1;
    bool fOwnThread = true;
    bool fRunning = false;
    bool fDispatching = false;
    bool fTerminating = false;
};
