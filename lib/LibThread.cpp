#include "LibThread.h"

#include <cstdio>

LibThread::LibThread() = default;

int32 LibThread::Action()
{
    return 0;
}

LibThread::~LibThread()
{
    StopThread();
    delete fMessenger;
}

void LibThread::StopThread()
{
    if (fThread < 0 || fThread == find_thread(nullptr))
        return;
    kill_thread(fThread); // an ended thread answers with an error, which is fine
    wait_for_thread_etc(fThread, ThreadWait::Uncancelable, B_INFINITE_TIMEOUT, nullptr);
}

status_t LibThread::Suspend()
{
    return suspend_thread(fThread);
}

status_t LibThread::Resume()
{
    return resume_thread(fThread);
}

status_t LibThread::Kill()
{
    return kill_thread(fThread);
}

status_t LibThread::Go(
    const char* name, BMessenger* messenger, const long& priority, const bool& wait)
{
    thread_info info;
    if (fBusy.load() && get_thread_info(fThread, &info) == B_OK) {
        delete messenger; // ownership passed to us either way
        return B_BUSY;
    }
    fBusy.store(true);
    if (messenger != fMessenger) {
        delete fMessenger;
        fMessenger = messenger;
    }
    fThread = spawn_thread(StaticAction, name, int32(priority), this);
    if (fThread < 0) {
        fBusy.store(false);
        return fThread;
    }
    if (wait) {
        status_t exitValue;
        return wait_for_thread(fThread, &exitValue);
    }
    return resume_thread(fThread);
}

void LibThread::PrintToStream()
{
    static const char* const kStateNames[]
        = {"Running\n", "Ready\n", "Receiving\n", "Asleep\n", "Suspended\n", "Waiting\n"};
    int32 state = Status();
    if (state >= B_THREAD_RUNNING && state <= B_THREAD_WAITING)
        fputs(kStateNames[state - B_THREAD_RUNNING], stderr);
    else
        fputs("Unknown\n", stderr);
}

int32 LibThread::StaticAction(void* data)
{
    return static_cast<LibThread*>(data)->StartAction();
}

namespace {

// Clears the busy mark however Action() ends, unwinding included.
class BusyMark {
public:
    explicit BusyMark(std::atomic<bool>& busy)
        : fBusy(busy)
    { }
    ~BusyMark() { Clear(); }
    void Clear()
    {
        if (!fCleared)
            fBusy.store(false);
        fCleared = true;
    }

private:
    std::atomic<bool>& fBusy;
    bool fCleared = false;
};

} // namespace

int32 LibThread::StartAction()
{
    BusyMark busy(fBusy);
    int32 result = Action();
    // From here on the object is not touched: once the busy mark is clear
    // the owner may start another run or delete the object.
    BMessenger target;
    if (fMessenger != nullptr)
        target = *fMessenger;
    bool hasTarget = fMessenger != nullptr;
    busy.Clear();
    if (!hasTarget)
        return result;
    thread_cancellation_point(); // a killed thread reports nothing
    BMessage completed(kLibThreadCompleted);
    thread_info info;
    if (get_thread_info(find_thread(nullptr), &info) == B_OK)
        completed.AddString("name", info.name);
    completed.AddInt32("status", result);
    target.SendMessage(&completed, nullptr, B_INFINITE_TIMEOUT);
    return result;
}

int32 LibThread::Status()
{
    thread_info info;
    if (get_thread_info(fThread, &info) != B_OK)
        return 0;
    return info.state;
}

status_t LibThread::SetPriority(long priority)
{
    return set_thread_priority(fThread, int32(priority));
}

void LibThread::CheckCancel()
{
    thread_cancellation_point();
}
