// An object that handles messages within a looper. Messages the handler does
// not understand go on to its next handler.
#pragma once

#include "BMessage.h"
#include "SupportDefs.h"

#include <string>

class BLooper;

class BHandler {
public:
    explicit BHandler(const char* name = nullptr);
    virtual ~BHandler();
    BHandler(const BHandler&) = delete;
    BHandler& operator=(const BHandler&) = delete;

    // The default passes the message to the next handler; at the end of the
    // chain a sender that named a reply target gets B_MESSAGE_NOT_UNDERSTOOD.
    virtual void MessageReceived(BMessage* message);

    BLooper* Looper() const { return fLooper; }
    const char* Name() const { return fName.c_str(); }
    void SetName(const char* name);
    void SetNextHandler(BHandler* handler);
    BHandler* NextHandler() const { return fNextHandler; }

    // Locks the looper this handler belongs to; false when it has none or
    // the handler moved while waiting.
    bool LockLooper();
    status_t LockLooperWithTimeout(bigtime_t timeout);
    void UnlockLooper();

private:
    friend class BLooper;
    friend class BMessenger;

    std::string fName;
    BLooper* fLooper = nullptr;
    BHandler* fNextHandler = nullptr;
    int32 fToken;
};
