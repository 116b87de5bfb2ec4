#include "MainLoop.h"

#include "BLooper.h"
#include "PlainLoopBackend.h"

#include <algorithm>
#include <condition_variable>
#include <iterator>

namespace {

// A looper another thread holds locked is tried again this soon.
constexpr bigtime_t kLockedRetry = 5000;

} // namespace

MainLoop& MainLoop::Get()
{
    static MainLoop loop;
    return loop;
}

void MainLoop::SetThread(thread_id thread)
{
    fThread = thread;
}

bool MainLoop::IsLoopThread() const
{
    return fThread >= 0 && find_thread(nullptr) == fThread;
}

void MainLoop::SetBackend(std::unique_ptr<LoopBackend> backend)
{
    {
        std::lock_guard<std::mutex> hold(fLock);
        fBackend = std::move(backend);
    }
    Wake();
}

void MainLoop::SetTurnHooks(Hook beforeDispatch, Hook afterDispatch)
{
    std::lock_guard<std::mutex> hold(fLock);
    fBeforeDispatch = std::move(beforeDispatch);
    fAfterDispatch = std::move(afterDispatch);
}

status_t MainLoop::Attach(BLooper* looper)
{
    if (looper == nullptr)
        return B_BAD_VALUE;
    if (fThread < 0)
        return B_NO_INIT;
    status_t status = looper->SetDispatchThread(fThread, [this] { Wake(); });
    if (status != B_OK)
        return status;
    std::lock_guard<std::mutex> hold(fLock);
    if (std::find(fLoopers.begin(), fLoopers.end(), looper) == fLoopers.end())
        fLoopers.push_back(looper);
    return B_OK;
}

void MainLoop::Detach(BLooper* looper)
{
    std::lock_guard<std::mutex> hold(fLock);
    std::erase(fLoopers, looper);
}

bool MainLoop::IsAttached(const BLooper* looper) const
{
    std::lock_guard<std::mutex> hold(fLock);
    return std::find(fLoopers.begin(), fLoopers.end(), looper) != fLoopers.end();
}

int32 MainLoop::CountAttached() const
{
    std::lock_guard<std::mutex> hold(fLock);
    return int32(fLoopers.size());
}

BLooper* MainLoop::AttachedAt(int32 index) const
{
    std::lock_guard<std::mutex> hold(fLock);
    if (index < 0 || size_t(index) >= fLoopers.size())
        return nullptr;
    return fLoopers[size_t(index)];
}

void MainLoop::BeginDispatch(BLooper* looper)
{
    fDispatching.push_back(looper);
}

void MainLoop::EndDispatch(BLooper* looper)
{
    auto found = std::find(fDispatching.rbegin(), fDispatching.rend(), looper);
    if (found != fDispatching.rend())
        fDispatching.erase(std::next(found).base());
}

bool MainLoop::IsDispatching(const BLooper* looper) const
{
    return std::find(fDispatching.begin(), fDispatching.end(), looper) != fDispatching.end();
}

void MainLoop::Post(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> hold(fLock);
        fTasks.push_back(std::move(task));
    }
    Wake();
}

bool MainLoop::Call(const std::function<void()>& task)
{
    if (IsLoopThread()) {
        task();
        return true;
    }
    if (!fRunning)
        return false;
    struct Done {
        std::mutex lock;
        std::condition_variable condition;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    Post([done, &task] {
        task();
        std::lock_guard<std::mutex> hold(done->lock);
        done->done = true;
        done->condition.notify_all();
    });
    std::unique_lock<std::mutex> hold(done->lock);
    done->condition.wait(hold, [&] { return done->done; });
    return true;
}

int32 MainLoop::AddTimer(bigtime_t interval, std::function<void()> callback)
{
    int32 id = 0;
    {
        std::lock_guard<std::mutex> hold(fLock);
        id = fNextTimer++;
        interval = std::max<bigtime_t>(interval, 1000);
        fTimers.emplace(id, Timer {interval, system_time() + interval, std::move(callback)});
    }
    Wake(); // the loop's wait may have to end sooner; Wake() takes the lock itself
    return id;
}

void MainLoop::SetTimerInterval(int32 timer, bigtime_t interval)
{
    {
        std::lock_guard<std::mutex> hold(fLock);
        auto found = fTimers.find(timer);
        if (found == fTimers.end())
            return;
        found->second.interval = std::max<bigtime_t>(interval, 1000);
        found->second.due = system_time() + found->second.interval;
    }
    Wake();
}

void MainLoop::RemoveTimer(int32 timer)
{
    std::lock_guard<std::mutex> hold(fLock);
    fTimers.erase(timer);
}

void MainLoop::Run()
{
    if (!IsLoopThread() || fRunning)
        return;
    fQuit = false;
    fRunning = true;
    while (!fQuit)
        Turn();
    fRunning = false;
    RunTasks(); // nobody who called Call() is left waiting
}

void MainLoop::Quit()
{
    fQuit = true;
    Wake();
}

void MainLoop::RunUntil(const std::function<bool()>& done)
{
    if (!IsLoopThread())
        return;
    while (!done() && !fQuit)
        Turn();
}

void MainLoop::Wake()
{
    if (fWoken.exchange(true))
        return;
    std::lock_guard<std::mutex> hold(fLock);
    if (fBackend != nullptr)
        fBackend->Wake();
    else
        PlainLoopBackend().Wake();
}

void MainLoop::Turn()
{
    fWoken = false;
    RunTasks();
    RunTimers();
    Hook before, after;
    {
        std::lock_guard<std::mutex> hold(fLock);
        before = fBeforeDispatch;
        after = fAfterDispatch;
    }
    bool more = before && before();
    more = DispatchLoopers() || more;
    more = (after && after()) || more;
    bigtime_t timeout = fWoken ? 0 : NextTimeout();
    if (more)
        timeout = std::min(timeout, kLockedRetry);
    WaitForInput(timeout);
}

void MainLoop::RunTasks()
{
    std::vector<std::function<void()>> tasks;
    {
        std::lock_guard<std::mutex> hold(fLock);
        tasks.swap(fTasks);
    }
    for (auto& task : tasks)
        task();
}

void MainLoop::RunTimers()
{
    bigtime_t now = system_time();
    std::vector<std::function<void()>> due;
    {
        std::lock_guard<std::mutex> hold(fLock);
        for (auto& [id, timer] : fTimers) {
            if (timer.due > now)
                continue;
            due.push_back(timer.callback);
            timer.due = std::max(timer.due + timer.interval, now + 1);
        }
    }
    for (auto& callback : due)
        callback();
}

bigtime_t MainLoop::NextTimeout() const
{
    std::lock_guard<std::mutex> hold(fLock);
    if (!fTasks.empty())
        return 0;
    bigtime_t now = system_time();
    bigtime_t timeout = B_INFINITE_TIMEOUT;
    for (const auto& [id, timer] : fTimers)
        timeout = std::min(timeout, std::max<bigtime_t>(timer.due - now, 0));
    return timeout;
}

bool MainLoop::DispatchLoopers()
{
    std::vector<BLooper*> loopers;
    {
        std::lock_guard<std::mutex> hold(fLock);
        loopers = fLoopers;
    }
    bigtime_t deadline = system_time() + kBatchTime;
    bool more = false;
    for (BLooper* looper : loopers) {
        if (IsDispatching(looper))
            continue; // inside one of its handlers further up this thread
        if (!IsAttached(looper))
            continue; // went away during this turn
        bool busy = false;
        if (!DispatchLooper(looper, deadline, busy) || busy)
            more = true;
    }
    return more;
}

// False when the time ran out with messages left; `busy` when another
// thread held the looper locked.
bool MainLoop::DispatchLooper(BLooper* looper, bigtime_t deadline, bool& busy)
{
    if (looper->LockWithTimeout(0) != B_OK) {
        busy = true;
        return true;
    }
    BeginDispatch(looper);
    int32 handled = 0;
    bool finished = true;
    while (true) {
        int32 count = looper->DispatchMessages(1);
        if (count < 0) {
            // The looper quit and is gone, its lock with it.
            EndDispatch(looper);
            Detach(looper);
            return true;
        }
        if (count == 0)
            break;
        if (++handled >= kBatchMessages || system_time() >= deadline) {
            finished = false;
            break;
        }
    }
    EndDispatch(looper);
    looper->Unlock();
    return finished;
}

void MainLoop::WaitForInput(bigtime_t timeout)
{
    bigtime_t start = system_time();
    if (fLastInputEnd != 0 && start - fLastInputEnd > fLongestGap)
        fLongestGap = start - fLastInputEnd;
    LoopBackend* backend = nullptr;
    {
        std::lock_guard<std::mutex> hold(fLock);
        backend = fBackend.get();
    }
    if (backend != nullptr)
        backend->Wait(timeout);
    else
        PlainLoopBackend().Wait(timeout);
    fLastInputEnd = system_time();
}
