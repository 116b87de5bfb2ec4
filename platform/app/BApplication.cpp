#include "BApplication.h"

#include "AppDefs.h"
#include "MainLoop.h"

#include <cstdio>

BApplication* be_app = nullptr;
BMessenger be_app_messenger;

BApplication::BApplication(const char* signature)
    : BLooper("application")
{
    Init(signature, nullptr);
}

BApplication::BApplication(const char* signature, status_t* error)
    : BLooper("application")
{
    Init(signature, error);
}

void BApplication::Init(const char* signature, status_t* error)
{
    fSignature = signature != nullptr ? signature : "";
    if (be_app != nullptr) {
        fprintf(stderr, "BApplication: an application exists already\n");
        fInitStatus = B_NOT_ALLOWED;
    } else {
        be_app = this;
        MainLoop& loop = MainLoop::Get();
        loop.SetThread(find_thread(nullptr));
        fInitStatus = loop.Attach(this);
        be_app_messenger = BMessenger(this);
    }
    if (error != nullptr)
        *error = fInitStatus;
}

BApplication::~BApplication()
{
    if (be_app != this)
        return;
    SetPulseRate(0);
    QuitWindows();
    MainLoop::Get().Detach(this);
    be_app_messenger = BMessenger();
    be_app = nullptr;
}

thread_id BApplication::Run()
{
    MainLoop& loop = MainLoop::Get();
    if (fInitStatus != B_OK || fRunCalled)
        return B_NOT_ALLOWED;
    if (!loop.IsLoopThread()) {
        fprintf(stderr, "BApplication::Run(): not on the thread that made the application\n");
        return B_NOT_ALLOWED;
    }
    fRunCalled = true;
    BLooper::Run();
    PostMessage(B_READY_TO_RUN);
    loop.Run();
    return Thread();
}

void BApplication::Quit()
{
    MainLoop::Get().Quit();
}

bool BApplication::QuitRequested()
{
    QuitWindows();
    return CountWindows() == 0;
}

// Each window is asked in turn; one that refuses stays, as do the ones not
// asked yet.
void BApplication::QuitWindows()
{
    MainLoop& loop = MainLoop::Get();
    for (int32 tries = loop.CountAttached(); tries > 0; --tries) {
        BLooper* window = nullptr;
        for (int32 i = 0; window == nullptr; ++i) {
            BLooper* candidate = loop.AttachedAt(i);
            if (candidate == nullptr)
                return;
            if (candidate != this)
                window = candidate;
        }
        if (!window->Lock())
            continue;
        if (!window->QuitRequested()) {
            window->Unlock();
            return;
        }
        window->Quit();
    }
}

int32 BApplication::CountWindows() const
{
    int32 count = MainLoop::Get().CountAttached();
    return MainLoop::Get().IsAttached(this) ? count - 1 : count;
}

void BApplication::ReadyToRun() { }

void BApplication::Pulse() { }

void BApplication::SetPulseRate(bigtime_t rate)
{
    MainLoop& loop = MainLoop::Get();
    fPulseRate = rate > 0 ? rate : 0;
    if (fPulseRate == 0) {
        if (fPulseTimer != 0)
            loop.RemoveTimer(fPulseTimer);
        fPulseTimer = 0;
        return;
    }
    if (fPulseTimer != 0) {
        loop.SetTimerInterval(fPulseTimer, fPulseRate);
        return;
    }
    // One pulse waits in the queue at most: a slow Pulse() is not flooded.
    fPulseTimer = loop.AddTimer(fPulseRate, [this] {
        if (fPulsePending)
            return;
        fPulsePending = PostMessage(B_PULSE) == B_OK;
    });
}

void BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (handler == this) {
        switch (message->what) {
        case B_READY_TO_RUN:
            ReadyToRun();
            return;
        case B_PULSE:
            fPulsePending = false;
            Pulse();
            return;
        default:
            break;
        }
    }
    BLooper::DispatchMessage(message, handler);
}

void BApplication::MessageReceived(BMessage* message)
{
    BLooper::MessageReceived(message);
}
