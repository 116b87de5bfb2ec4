#include "BInvoker.h"

#include "BHandler.h"
#include "BLooper.h"
#include "KernelThreads.h"

BInvoker::BInvoker() = default;

BInvoker::BInvoker(BMessage* message, const BHandler* handler, const BLooper* looper)
    : fMessage(message)
{
    SetTarget(handler, looper);
}

BInvoker::BInvoker(BMessage* message, BMessenger target)
    : fMessage(message)
    , fTarget(target)
    , fTargetSet(true)
{ }

BInvoker::~BInvoker()
{
    delete fMessage;
}

status_t BInvoker::SetMessage(BMessage* message)
{
    if (message == fMessage)
        return B_OK;
    delete fMessage;
    fMessage = message;
    return B_OK;
}

status_t BInvoker::SetTarget(const BHandler* handler, const BLooper* looper)
{
    if (handler == nullptr && looper == nullptr) {
        fTarget = BMessenger();
        fTargetSet = false;
        return B_OK;
    }
    status_t status = B_OK;
    fTarget = BMessenger(handler, looper, &status);
    fTargetSet = true;
    return status;
}

status_t BInvoker::SetTarget(BMessenger messenger)
{
    fTarget = messenger;
    fTargetSet = true;
    return B_OK;
}

BHandler* BInvoker::Target(BLooper** looper) const
{
    return fTarget.Target(looper);
}

status_t BInvoker::Invoke(BMessage* message)
{
    if (message == nullptr)
        message = fMessage;
    if (message == nullptr)
        return B_BAD_VALUE;
    return Send(*message);
}

status_t BInvoker::Send(const BMessage& message, const BMessenger* target)
{
    const BMessenger& to = target != nullptr ? *target : fTarget;
    if (!to.IsValid())
        return B_BAD_PORT_ID;
    BMessage copy(message);
    copy.AddInt64("when", system_time());
    copy.AddPointer("source", fSource);
    // Posting never waits: a control of a window must not block its own
    // UI thread on a full queue.
    return to.SendMessage(&copy, static_cast<BHandler*>(nullptr), 0);
}
