#include "PlainLoopBackend.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct PlainLoopBackend::State {
    std::mutex lock;
    std::condition_variable woken;
    bool pending = false;
};

// One state for the process: the loop may swap backends, and a Wake()
// that raced with the swap must still be seen.
PlainLoopBackend::State& PlainLoopBackend::Shared()
{
    static State state;
    return state;
}

void PlainLoopBackend::Wait(bigtime_t timeout)
{
    State& state = Shared();
    std::unique_lock<std::mutex> hold(state.lock);
    auto ready = [&] { return state.pending; };
    if (timeout == B_INFINITE_TIMEOUT)
        state.woken.wait(hold, ready);
    else if (timeout > 0)
        state.woken.wait_for(hold, std::chrono::microseconds(timeout), ready);
    state.pending = false;
}

void PlainLoopBackend::Wake()
{
    State& state = Shared();
    {
        std::lock_guard<std::mutex> hold(state.lock);
        state.pending = true;
    }
    state.woken.notify_all();
}
