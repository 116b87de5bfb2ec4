#include "BMessenger.h"

#include "BHandler.h"
#include "BLooper.h"
#include "LooperPort.h"

BMessenger::BMessenger()
    : fHandlerToken(kPreferredHandlerToken)
{ }

BMessenger::BMessenger(std::shared_ptr<LooperPort> port, int32 handlerToken)
    : fPort(std::move(port))
    , fHandlerToken(handlerToken)
{ }

BMessenger::BMessenger(const BHandler* handler, const BLooper* looper, status_t* result)
    : fHandlerToken(kPreferredHandlerToken)
{
    status_t status = B_OK;
    if (handler != nullptr) {
        const BLooper* owner = handler->Looper();
        if (owner == nullptr || (looper != nullptr && looper != owner)) {
            status = B_MISMATCHED_VALUES;
        } else {
            fPort = owner->fPort;
            fHandlerToken = handler->fToken;
        }
    } else if (looper != nullptr) {
        fPort = looper->fPort;
    } else {
        status = B_BAD_VALUE;
    }
    if (result)
        *result = status;
}

BMessenger::BMessenger(const BMessenger& other) = default;
BMessenger& BMessenger::operator=(const BMessenger& other) = default;
BMessenger::~BMessenger() = default;

bool BMessenger::IsValid() const
{
    return fPort && fPort->IsOpen();
}

bool BMessenger::IsTargetLocal() const
{
    return IsValid();
}

BHandler* BMessenger::Target(BLooper** looper) const
{
    BLooper* owner = fPort ? fPort->Looper() : nullptr;
    if (looper)
        *looper = owner;
    if (owner == nullptr || fHandlerToken == kPreferredHandlerToken)
        return nullptr;
    return fPort->HandlerFor(fHandlerToken);
}

bool BMessenger::LockTarget() const
{
    return LockTargetWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BMessenger::LockTargetWithTimeout(bigtime_t timeout) const
{
    if (!fPort)
        return B_BAD_PORT_ID;
    return fPort->Lock(timeout);
}

status_t BMessenger::SendMessage(uint32 command, BHandler* replyTo) const
{
    BMessage message(command);
    return SendMessage(&message, replyTo);
}

status_t BMessenger::SendMessage(BMessage* message, BHandler* replyTo, bigtime_t timeout) const
{
    BMessenger replyMessenger;
    if (replyTo != nullptr && replyTo->Looper() != nullptr)
        replyMessenger = BMessenger(replyTo);
    return SendMessage(message, replyMessenger, timeout);
}

status_t BMessenger::SendMessage(
    BMessage* message, const BMessenger& replyTo, bigtime_t timeout) const
{
    if (message == nullptr)
        return B_BAD_VALUE;
    if (!fPort)
        return B_BAD_PORT_ID;
    return fPort->Send(std::make_unique<BMessage>(*message), fHandlerToken, replyTo, timeout);
}

bool BMessenger::operator==(const BMessenger& other) const
{
    return fPort == other.fPort && fHandlerToken == other.fHandlerToken;
}
