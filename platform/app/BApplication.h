// The application: a looper whose messages the UI thread dispatches, and the
// owner of that thread's loop (MainLoop). The thread that constructs it must
// call Run(), which returns when the application quits. Without a display
// the loop waits plainly; the interface kit installs the display's loop
// when a window needs it, so this kit never links the interface kit.
#pragma once

#include "BLooper.h"
#include "BMessenger.h"

class BApplication : public BLooper {
public:
    explicit BApplication(const char* signature);
    BApplication(const char* signature, status_t* error);
    ~BApplication() override;

    status_t InitCheck() const { return fInitStatus; }
    const char* Signature() const { return fSignature.c_str(); }

    // Runs the loop on the calling thread, which must be the constructing
    // one; ReadyToRun() comes first. Returns when the application quits.
    thread_id Run() override;
    // Ends Run() after the current message; the object stays (the caller
    // deletes it after Run() returns).
    void Quit() override;
    // Asks every window to quit, as their close boxes would; true when all
    // did.
    bool QuitRequested() override;

    virtual void ReadyToRun();
    virtual void Pulse();
    // Pulse() every `rate` microseconds; 0 stops the pulses.
    void SetPulseRate(bigtime_t rate);
    bigtime_t PulseRate() const { return fPulseRate; }

    void DispatchMessage(BMessage* message, BHandler* handler) override;
    void MessageReceived(BMessage* message) override;

    // The windows (loopers the UI thread serves besides the application).
    int32 CountWindows() const;

private:
    void Init(const char* signature, status_t* error);
    void QuitWindows();

    std::string fSignature;
    status_t fInitStatus = B_NO_INIT;
    bigtime_t fPulseRate = 0;
    int32 fPulseTimer = 0;
    bool fPulsePending = false;
    bool fRunCalled = false;
};

extern BApplication* be_app;
extern BMessenger be_app_messenger;
