// Addresses a looper (or one handler within it) and delivers messages to its
// queue. A messenger never points at a looper directly: once the looper is
// gone, the messenger is invalid and sending fails with B_BAD_PORT_ID.
#pragma once

#include "BMessage.h"
#include "SupportDefs.h"

#include <memory>

class BHandler;
class BLooper;
class LooperPort;

class BMessenger {
public:
    BMessenger();
    // Targets `handler` (which must belong to a looper), or, when it is
    // null, the preferred handler of `looper`.
    BMessenger(
        const BHandler* handler, const BLooper* looper = nullptr, status_t* result = nullptr);
    BMessenger(const BMessenger& other);
    BMessenger& operator=(const BMessenger& other);
    ~BMessenger();

    bool IsValid() const;
    // Every valid target lives in this process.
    bool IsTargetLocal() const;
    // The target handler (null for a preferred-handler target) and looper.
    // Only meaningful while the target cannot go away.
    BHandler* Target(BLooper** looper) const;
    bool LockTarget() const;
    status_t LockTargetWithTimeout(bigtime_t timeout) const;

    // Queues a copy of `message`, waiting up to `timeout` until the target's
    // queue has accepted it. Replies go to `replyTo`.
    status_t SendMessage(uint32 command, BHandler* replyTo = nullptr) const;
    status_t SendMessage(BMessage* message, BHandler* replyTo = nullptr,
        bigtime_t timeout = B_INFINITE_TIMEOUT) const;
    status_t SendMessage(
        BMessage* message, const BMessenger& replyTo, bigtime_t timeout = B_INFINITE_TIMEOUT) const;

    bool operator==(const BMessenger& other) const;
    bool operator!=(const BMessenger& other) const { return !(*this == other); }

private:
    friend class BLooper;
    BMessenger(std::shared_ptr<LooperPort> port, int32 handlerToken);

    std::shared_ptr<LooperPort> fPort;
    int32 fHandlerToken;
};
