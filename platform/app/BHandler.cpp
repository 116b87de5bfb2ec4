#include "BHandler.h"

#include "AppDefs.h"
#include "BLooper.h"

#include <atomic>

namespace {

int32 NextToken()
{
    static std::atomic<int32> next {1};
    return next++;
}

} // namespace

BHandler::BHandler(const char* name)
    : fName(name ? name : "")
    , fToken(NextToken())
{ }

BHandler::~BHandler()
{
    if (fLooper != nullptr && fLooper != this)
        fLooper->RemoveHandler(this);
}

void BHandler::MessageReceived(BMessage* message)
{
    if (fNextHandler != nullptr && fNextHandler != this) {
        fNextHandler->MessageReceived(message);
        return;
    }
    if (fLooper != nullptr && message == fLooper->CurrentMessage()) {
        BMessenger replyTo = fLooper->fCurrentReplyTo;
        if (replyTo.IsValid()) {
            BMessage reply(B_MESSAGE_NOT_UNDERSTOOD);
            replyTo.SendMessage(&reply, nullptr, 0);
        }
    }
}

void BHandler::SetName(const char* name)
{
    fName = name ? name : "";
}

void BHandler::SetNextHandler(BHandler* handler)
{
    fNextHandler = handler;
}

bool BHandler::LockLooper()
{
    return LockLooperWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BHandler::LockLooperWithTimeout(bigtime_t timeout)
{
    BLooper* looper = fLooper;
    if (looper == nullptr)
        return B_BAD_VALUE;
    status_t status = looper->LockWithTimeout(timeout);
    if (status != B_OK)
        return status;
    if (fLooper != looper) {
        looper->Unlock();
        return B_MISMATCHED_VALUES;
    }
    return B_OK;
}

void BHandler::UnlockLooper()
{
    if (fLooper != nullptr)
        fLooper->Unlock();
}
