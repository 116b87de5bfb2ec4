#include "BLooper.h"

#include "AppDefs.h"
#include "LooperPort.h"

#include <algorithm>
#include <cstdio>

BLooper::BLooper(const char* name, int32 priority, int32 portCapacity)
    : BHandler(name)
    , fPort(std::make_shared<LooperPort>(this, portCapacity))
    , fPriority(priority)
{
    AddHandler(this);
}

BLooper::~BLooper()
{
    bool loopRunsElsewhere = fOwnThread && fRunning && fThread != find_thread(nullptr);
    if (loopRunsElsewhere)
        fprintf(stderr, "BLooper: \"%s\" deleted while running; use Quit()\n", Name());
    fPort->Close();
    if (loopRunsElsewhere)
        wait_for_thread_etc(fThread, ThreadWait::Uncancelable, B_INFINITE_TIMEOUT, nullptr);
    for (BHandler* handler : fHandlers) {
        handler->fLooper = nullptr;
        if (handler->fNextHandler == this)
            handler->fNextHandler = nullptr;
    }
    fHandlers.clear();
    delete fCurrentMessage;
    fPort->MarkGone();
}

status_t BLooper::PostMessage(uint32 command)
{
    BMessage message(command);
    return PostMessage(&message);
}

status_t BLooper::PostMessage(BMessage* message)
{
    return Post(message, fToken, nullptr);
}

status_t BLooper::PostMessage(uint32 command, BHandler* handler, BHandler* replyTo)
{
    BMessage message(command);
    return PostMessage(&message, handler, replyTo);
}

status_t BLooper::PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
    if (handler != nullptr && handler->fLooper != this)
        return B_MISMATCHED_VALUES;
    return Post(message, handler ? handler->fToken : kPreferredHandlerToken, replyTo);
}

status_t BLooper::Post(BMessage* message, int32 handlerToken, BHandler* replyTo)
{
    if (message == nullptr)
        return B_BAD_VALUE;
    BMessenger replyMessenger;
    if (replyTo != nullptr && replyTo->Looper() != nullptr)
        replyMessenger = BMessenger(replyTo);
    return fPort->Send(std::make_unique<BMessage>(*message), handlerToken, replyMessenger, 0);
}

void BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (message->what == B_QUIT_REQUESTED && handler == this) {
        if (QuitRequested())
            Quit();
        return;
    }
    handler->MessageReceived(message);
}

void BLooper::MessageReceived(BMessage* message)
{
    BHandler::MessageReceived(message);
}

BMessage* BLooper::DetachCurrentMessage()
{
    BMessage* message = fCurrentMessage;
    fCurrentMessage = nullptr;
    return message;
}

void BLooper::AddHandler(BHandler* handler)
{
    if (handler == nullptr || handler->fLooper == this)
        return;
    if (handler->fLooper != nullptr) {
        fprintf(stderr, "BLooper::AddHandler(): the handler belongs to another looper\n");
        return;
    }
    handler->fLooper = this;
    fHandlers.push_back(handler);
    fPort->AddHandler(handler, handler->fToken);
    if (handler != this && handler->fNextHandler == nullptr)
        handler->fNextHandler = this;
}

bool BLooper::RemoveHandler(BHandler* handler)
{
    if (handler == nullptr || handler == this || handler->fLooper != this)
        return false;
    std::erase(fHandlers, handler);
    fPort->RemoveHandler(handler->fToken);
    handler->fLooper = nullptr;
    if (handler->fNextHandler == this)
        handler->fNextHandler = nullptr;
    if (fPreferred == handler)
        fPreferred = nullptr;
    return true;
}

BHandler* BLooper::HandlerAt(int32 index) const
{
    if (index < 0 || index >= CountHandlers())
        return nullptr;
    return fHandlers[size_t(index)];
}

int32 BLooper::IndexOf(BHandler* handler) const
{
    auto found = std::find(fHandlers.begin(), fHandlers.end(), handler);
    return found == fHandlers.end() ? -1 : int32(found - fHandlers.begin());
}

void BLooper::SetPreferredHandler(BHandler* handler)
{
    fPreferred = (handler != nullptr && handler->fLooper == this) ? handler : nullptr;
}

thread_id BLooper::Run()
{
    if (fRunning)
        return B_NOT_ALLOWED;
    if (!fOwnThread) {
        fRunning = true;
        fPort->SetWakeHook(fWake);
        fPort->Wake();
        return fThread;
    }
    thread_id thread = spawn_thread(LoopEntry, *Name() ? Name() : "looper", fPriority, this);
    if (thread < 0)
        return thread;
    fThread = thread;
    fRunning = true;
    fPort->SetDispatchThread(thread);
    resume_thread(thread);
    return thread;
}

int32 BLooper::LoopEntry(void* data)
{
    static_cast<BLooper*>(data)->Loop();
    return B_OK;
}

void BLooper::Loop()
{
    // The port outlives the looper, which may delete itself below.
    std::shared_ptr<LooperPort> port = fPort;
    while (true) {
        LooperEnvelope envelope;
        if (port->Receive(&envelope, B_INFINITE_TIMEOUT) != B_OK)
            return;
        if (port->Lock(B_INFINITE_TIMEOUT) != B_OK)
            return;
        Dispatch(envelope);
        if (fTerminating) {
            delete this;
            return;
        }
        port->Unlock();
    }
}

int32 BLooper::DispatchMessages(int32 limit)
{
    if (!fRunning || fOwnThread || find_thread(nullptr) != fThread)
        return 0;
    std::shared_ptr<LooperPort> port = fPort;
    port->ClearWakePending();
    int32 count = 0;
    while (limit < 0 || count < limit) {
        LooperEnvelope envelope;
        if (port->Receive(&envelope, 0) != B_OK)
            break;
        if (port->Lock(B_INFINITE_TIMEOUT) != B_OK)
            return -1;
        Dispatch(envelope);
        if (fTerminating) {
            delete this;
            return -1;
        }
        port->Unlock();
        if (!envelope.quit)
            ++count;
    }
    port->Wake(); // messages left beyond the limit
    return count;
}

void BLooper::Dispatch(LooperEnvelope& envelope)
{
    if (envelope.quit) {
        fTerminating = true;
        return;
    }
    BHandler* handler = envelope.handlerToken == kPreferredHandlerToken
        ? (fPreferred ? fPreferred : this)
        : fPort->HandlerFor(envelope.handlerToken);
    if (handler == nullptr)
        return; // the handler was removed while its message waited
    fCurrentMessage = envelope.message.release();
    fCurrentReplyTo = envelope.replyTo;
    fDispatching = true;
    DispatchMessage(fCurrentMessage, handler);
    fDispatching = false;
    delete fCurrentMessage;
    fCurrentMessage = nullptr;
    fCurrentReplyTo = BMessenger();
}

void BLooper::DispatchDirect(BMessage* message, BHandler* handler)
{
    if (message == nullptr)
        return;
    if (handler == nullptr || fTerminating) {
        delete message;
        return;
    }
    BMessage* outer = fCurrentMessage;
    BMessenger outerReplyTo = fCurrentReplyTo;
    bool outerDispatching = fDispatching;
    fCurrentMessage = message;
    fCurrentReplyTo = BMessenger();
    fDispatching = true;
    DispatchMessage(message, handler);
    if (fCurrentMessage == message)
        delete message; // not detached by the handler
    fDispatching = outerDispatching;
    fCurrentMessage = outer;
    fCurrentReplyTo = outerReplyTo;
}

void BLooper::Quit()
{
    thread_id self = find_thread(nullptr);
    if (!fRunning) {
        delete this;
        return;
    }
    if (self == fThread) {
        if (fDispatching)
            fTerminating = true; // the loop deletes the looper after this message
        else
            delete this;
        return;
    }
    std::shared_ptr<LooperPort> port = fPort;
    bool ownThread = fOwnThread;
    thread_id thread = fThread;
    port->SendQuit();
    port->UnlockAll();
    if (ownThread)
        wait_for_thread_etc(thread, ThreadWait::Uncancelable, B_INFINITE_TIMEOUT, nullptr);
    else
        port->WaitUntilGone();
}

bool BLooper::QuitRequested()
{
    return true;
}

bool BLooper::Lock()
{
    return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

void BLooper::Unlock()
{
    fPort->Unlock();
}

status_t BLooper::LockWithTimeout(bigtime_t timeout)
{
    // The waiter keeps the port alive: should the looper go while we wait,
    // the closed port answers instead of freed memory.
    std::shared_ptr<LooperPort> port = fPort;
    return port->Lock(timeout);
}

bool BLooper::IsLocked() const
{
    return fPort->LockingThread() == find_thread(nullptr);
}

thread_id BLooper::LockingThread() const
{
    return fPort->LockingThread();
}

int32 BLooper::CountQueuedMessages() const
{
    return fPort->CountMessages();
}

int32 BLooper::CountLocks() const
{
    return fPort->CountLocks();
}

status_t BLooper::SetDispatchThread(thread_id thread, std::function<void()> wake)
{
    if (fRunning)
        return B_NOT_ALLOWED;
    if (thread < 0 || !wake)
        return B_BAD_VALUE;
    fOwnThread = false;
    fThread = thread;
    fWake = std::move(wake);
    fPort->SetDispatchThread(thread);
    return B_OK;
}
