// Sends a message to a target when something is "invoked" (a button
// pressed, a menu item chosen). The message sent is a copy, with "when" and
// "source" added.
#pragma once

#include "AppDefs.h"
#include "BMessage.h"
#include "BMessenger.h"

class BHandler;
class BLooper;

class BInvoker {
public:
    BInvoker();
    BInvoker(BMessage* message, const BHandler* handler, const BLooper* looper = nullptr);
    BInvoker(BMessage* message, BMessenger target);
    virtual ~BInvoker();
    BInvoker(const BInvoker&) = delete;
    BInvoker& operator=(const BInvoker&) = delete;

    // Takes the message over (null: nothing is sent).
    virtual status_t SetMessage(BMessage* message);
    BMessage* Message() const { return fMessage; }
    uint32 Command() const { return fMessage != nullptr ? fMessage->what : 0; }

    virtual status_t SetTarget(const BHandler* handler, const BLooper* looper = nullptr);
    virtual status_t SetTarget(BMessenger messenger);
    bool IsTargetLocal() const { return true; }
    BHandler* Target(BLooper** looper = nullptr) const;
    BMessenger Messenger() const { return fTarget; }
    // Whether a target was ever given (controls otherwise aim at their
    // window).
    bool HasTarget() const { return fTargetSet; }

    // Sends `message`, or the invoker's own when null.
    virtual status_t Invoke(BMessage* message = nullptr);

protected:
    // The source named in the messages sent; the invoker itself by default.
    void SetSource(const void* source) { fSource = source; }
    // Sends a copy of `message` with "when" and "source" added to the
    // target, or to `target` when given.
    status_t Send(const BMessage& message, const BMessenger* target = nullptr);

private:
    BMessage* fMessage = nullptr;
    BMessenger fTarget;
    bool fTargetSet = false;
    const void* fSource = this;
};
