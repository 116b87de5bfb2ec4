#include "KernelThreads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <pthread.h>
#include <stop_token>
#include <string>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace {

// Thrown at a cancellation point of a killed thread and caught only by the
// thread's trampoline, so that the stack unwinds and destructors run. It is
// deliberately not a std::exception: nothing but the trampoline should
// catch it.
struct ThreadUnwind { };

constexpr int32 kMinPriority = 0;
constexpr int32 kMaxPriority = 120;
// Ended threads whose exit value nobody collected are kept this long (in
// number), so that a late wait_for_thread still finds them.
constexpr size_t kMaxUncollected = 256;

struct ThreadRecord {
    thread_id id = 0;
    std::string name;
    bool adopted = false; // a thread not spawned here (main thread, UI thread)
    thread_func func = nullptr;
    void* data = nullptr;
    std::stop_source stop;

    // Fast check for the cancellation point: killed or suspension requested.
    std::atomic<bool> attention {false};
    std::atomic<int32> state {B_THREAD_SUSPENDED};

    std::mutex mutex; // guards everything below
    std::condition_variable_any changed;
    bool resumed = false;
    bool suspendRequested = false;
    bool killed = false;
    bool finished = false;
    int32 priority = B_NORMAL_PRIORITY;
    pid_t tid = 0;
    status_t exitValue = B_OK;

    void UpdateAttention() { attention.store(killed || suspendRequested); }
};

using RecordPtr = std::shared_ptr<ThreadRecord>;

// Every known thread by id. Never destroyed, so that threads still ending
// while the process exits find it intact.
struct Registry {
    std::mutex mutex;
    std::unordered_map<thread_id, RecordPtr> threads;
    std::deque<thread_id> uncollected;
    thread_id nextId = 1;
};

Registry& TheRegistry()
{
    static Registry* registry = new Registry;
    return *registry;
}

RecordPtr Lookup(thread_id id)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.threads.find(id);
    return found == registry.threads.end() ? nullptr : found->second;
}

thread_id Register(const RecordPtr& record)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    record->id = registry.nextId++;
    registry.threads.emplace(record->id, record);
    return record->id;
}

void Unregister(thread_id id)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.threads.erase(id);
}

// The calling thread's record; an adopted record is dropped when its thread
// ends.
struct CurrentThread {
    RecordPtr record;
    ~CurrentThread()
    {
        if (record && record->adopted)
            Unregister(record->id);
    }
};

thread_local CurrentThread tCurrent;

ThreadRecord* Self()
{
    return tCurrent.record.get();
}

// Niceness follows the priority: 10 (normal) is nice 0, every step below
// normal one nice level up, every step above one level down (bounded by
// -20 and 19). Raising priority usually needs privileges; a refusal leaves
// the thread's niceness as it was and the priority merely recorded.
int NiceFor(int32 priority)
{
    if (priority <= kMinPriority)
        return 19;
    return std::clamp(B_NORMAL_PRIORITY - priority, -20, 19);
}

void ApplyNice(pid_t tid, int32 priority)
{
    if (tid > 0)
        setpriority(PRIO_PROCESS, id_t(tid), NiceFor(priority));
}

void SetSystemName(const std::string& name)
{
    // Linux keeps 15 characters; debuggers and top show them.
    std::string shortName = name.substr(0, 15);
    pthread_setname_np(pthread_self(), shortName.c_str());
}

// Unwinds a killed thread. While another exception is unwinding the stack
// (a cancellation point reached from a destructor) throwing would end the
// process, so the kill is left for the next cancellation point instead.
status_t UnwindIfKilled(ThreadRecord* self)
{
    if (self == nullptr)
        return B_OK;
    {
        std::lock_guard lock(self->mutex);
        if (!self->killed)
            return B_OK;
    }
    if (std::uncaught_exceptions() > 0)
        return B_INTERRUPTED;
    throw ThreadUnwind();
}

// Waits on `condition` until `ready()` holds, `timeout` has passed or a stop
// is requested through `token`; whether `ready()` held.
bool WaitOn(std::condition_variable_any& condition, std::unique_lock<std::mutex>& lock,
    bigtime_t timeout, const std::function<bool()>& ready, std::stop_token token)
{
    if (timeout <= 0)
        return ready();
    // Beyond this a deadline would overflow the clock; it means "forever".
    constexpr bigtime_t kForever = 1'000'000'000'000'000;
    if (timeout >= kForever)
        return condition.wait(lock, token, ready);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds(timeout);
    return condition.wait_until(lock, token, deadline, ready);
}

void Park(ThreadRecord* self)
{
    std::unique_lock lock(self->mutex);
    if (!self->suspendRequested || self->killed)
        return;
    int32 previous = self->state.exchange(B_THREAD_SUSPENDED);
    self->changed.wait(lock, [self] { return !self->suspendRequested || self->killed; });
    self->state.store(previous);
}

void Finish(const RecordPtr& record, status_t exitValue)
{
    Registry& registry = TheRegistry();
    std::lock_guard registryLock(registry.mutex);
    {
        std::lock_guard lock(record->mutex);
        record->finished = true;
        record->exitValue = exitValue;
        record->changed.notify_all();
    }
    registry.uncollected.push_back(record->id);
    while (registry.uncollected.size() > kMaxUncollected) {
        registry.threads.erase(registry.uncollected.front());
        registry.uncollected.pop_front();
    }
}

void Trampoline(RecordPtr record)
{
    tCurrent.record = record;
    SetSystemName(record->name);
    bool start;
    {
        std::unique_lock lock(record->mutex);
        record->tid = gettid();
        ApplyNice(record->tid, record->priority);
        record->changed.wait(lock, [&] { return record->resumed || record->killed; });
        start = !record->killed;
    }
    status_t exitValue = B_INTERRUPTED;
    if (start) {
        record->state.store(B_THREAD_RUNNING);
        try {
            exitValue = record->func(record->data);
        } catch (const ThreadUnwind&) {
            exitValue = B_INTERRUPTED;
        }
    }
    Finish(record, exitValue);
    tCurrent.record.reset();
}

RecordPtr Adopt()
{
    auto record = std::make_shared<ThreadRecord>();
    char name[16] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    record->name = name;
    record->adopted = true;
    record->resumed = true;
    record->tid = gettid();
    record->state.store(B_THREAD_RUNNING);
    Register(record);
    tCurrent.record = record;
    return record;
}

// A thread that can be controlled: known, spawned here and still alive.
status_t Controllable(thread_id id, RecordPtr* out)
{
    RecordPtr record = Lookup(id);
    if (!record)
        return B_BAD_THREAD_ID;
    if (record->adopted)
        return B_NOT_ALLOWED;
    *out = std::move(record);
    return B_OK;
}

} // namespace

thread_id spawn_thread(thread_func func, const char* name, int32 priority, void* data)
{
    if (func == nullptr)
        return B_BAD_VALUE;
    auto record = std::make_shared<ThreadRecord>();
    record->name = std::string(name ? name : "").substr(0, B_OS_NAME_LENGTH - 1);
    record->func = func;
    record->data = data;
    record->priority = std::clamp(priority, kMinPriority, kMaxPriority);
    thread_id id = Register(record);
    try {
        std::thread(Trampoline, record).detach();
    } catch (const std::system_error&) {
        Unregister(id);
        return B_NO_MORE_THREADS;
    }
    return id;
}

status_t resume_thread(thread_id thread)
{
    RecordPtr record;
    if (status_t status = Controllable(thread, &record); status != B_OK)
        return status;
    std::lock_guard lock(record->mutex);
    if (record->finished)
        return B_BAD_THREAD_ID;
    if (!record->resumed) {
        record->resumed = true;
        record->state.store(B_THREAD_READY);
    } else if (record->suspendRequested) {
        record->suspendRequested = false;
        record->UpdateAttention();
    } else {
        return B_BAD_THREAD_STATE;
    }
    record->changed.notify_all();
    return B_OK;
}

status_t suspend_thread(thread_id thread)
{
    RecordPtr record;
    if (status_t status = Controllable(thread, &record); status != B_OK)
        return status;
    std::lock_guard lock(record->mutex);
    if (record->finished)
        return B_BAD_THREAD_ID;
    if (record->resumed) {
        record->suspendRequested = true;
        record->UpdateAttention();
    }
    return B_OK;
}

status_t kill_thread(thread_id thread)
{
    RecordPtr record;
    if (status_t status = Controllable(thread, &record); status != B_OK)
        return status;
    {
        std::lock_guard lock(record->mutex);
        if (record->finished)
            return B_BAD_THREAD_ID;
        record->killed = true;
        record->UpdateAttention();
        record->changed.notify_all();
    }
    record->stop.request_stop(); // wakes the thread from any blocking wait
    return B_OK;
}

status_t wait_for_thread(thread_id thread, status_t* exitValue)
{
    return wait_for_thread_etc(thread, ThreadWait::Cancelable, B_INFINITE_TIMEOUT, exitValue);
}

status_t wait_for_thread_etc(
    thread_id thread, ThreadWait mode, bigtime_t timeout, status_t* exitValue)
{
    RecordPtr record;
    if (status_t status = Controllable(thread, &record); status != B_OK)
        return status;
    if (record.get() == Self())
        return B_NOT_ALLOWED;
    std::unique_lock lock(record->mutex);
    if (!record->finished && (!record->resumed || record->suspendRequested)) {
        if (!record->resumed)
            record->state.store(B_THREAD_READY);
        record->resumed = true;
        record->suspendRequested = false;
        record->UpdateAttention();
        record->changed.notify_all();
    }
    auto finished = [&] { return record->finished; };
    if (mode == ThreadWait::Cancelable) {
        if (status_t status = thread_block(record->changed, lock, timeout, finished);
            status != B_OK)
            return status;
    } else if (!WaitOn(record->changed, lock, timeout, finished, std::stop_token())) {
        return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;
    }
    if (exitValue)
        *exitValue = record->exitValue;
    lock.unlock();
    {
        Registry& registry = TheRegistry();
        std::lock_guard registryLock(registry.mutex);
        registry.threads.erase(thread);
        std::erase(registry.uncollected, thread);
    }
    if (mode == ThreadWait::Cancelable)
        thread_cancellation_point();
    return B_OK;
}

status_t set_thread_priority(thread_id thread, int32 priority)
{
    RecordPtr record = Lookup(thread);
    if (!record)
        return B_BAD_THREAD_ID;
    std::lock_guard lock(record->mutex);
    if (record->finished)
        return B_BAD_THREAD_ID;
    int32 previous = record->priority;
    record->priority = std::clamp(priority, kMinPriority, kMaxPriority);
    ApplyNice(record->tid, record->priority);
    return previous;
}

status_t get_thread_info(thread_id thread, thread_info* info)
{
    if (info == nullptr)
        return B_BAD_VALUE;
    RecordPtr record = Lookup(thread);
    if (!record)
        return B_BAD_THREAD_ID;
    std::lock_guard lock(record->mutex);
    if (record->finished)
        return B_BAD_THREAD_ID;
    memset(info, 0, sizeof *info);
    info->thread = record->id;
    info->team = getpid();
    strncpy(info->name, record->name.c_str(), B_OS_NAME_LENGTH - 1);
    info->state = thread_state(record->state.load());
    info->priority = record->priority;
    return B_OK;
}

thread_id find_thread(const char* name)
{
    if (name == nullptr) {
        ThreadRecord* self = Self();
        return self ? self->id : Adopt()->id;
    }
    Registry& registry = TheRegistry();
    std::lock_guard registryLock(registry.mutex);
    thread_id found = B_NAME_NOT_FOUND;
    for (const auto& [id, record] : registry.threads) {
        std::lock_guard lock(record->mutex);
        if (!record->finished && record->name == name && (found < 0 || id < found))
            found = id;
    }
    return found;
}

void thread_cancellation_point()
{
    ThreadRecord* self = Self();
    if (self == nullptr || !self->attention.load())
        return;
    UnwindIfKilled(self);
    Park(self);
    UnwindIfKilled(self);
}

bool thread_kill_requested()
{
    ThreadRecord* self = Self();
    if (self == nullptr)
        return false;
    std::lock_guard lock(self->mutex);
    return self->killed;
}

bigtime_t system_time()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

status_t snooze(bigtime_t microseconds)
{
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    if (microseconds > 0)
        thread_block(
            never, lock, microseconds, [] { return false; }, B_THREAD_ASLEEP);
    lock.unlock();
    thread_cancellation_point();
    return B_OK;
}

status_t thread_block(std::condition_variable_any& condition, std::unique_lock<std::mutex>& lock,
    bigtime_t timeout, const std::function<bool()>& ready, thread_state state)
{
    ThreadRecord* self = Self();
    std::stop_token token = self ? self->stop.get_token() : std::stop_token();
    if (token.stop_requested())
        return UnwindIfKilled(self);
    // A thread that need not wait is never reported as waiting.
    if (ready())
        return B_OK;
    int32 previous = self ? self->state.exchange(state) : 0;
    bool done = WaitOn(condition, lock, timeout, ready, token);
    if (self)
        self->state.store(previous);
    if (token.stop_requested()) {
        lock.unlock(); // unwinding starts with no lock of the caller held
        status_t status = UnwindIfKilled(self);
        lock.lock();
        return status;
    }
    if (done)
        return B_OK;
    return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;
}

status_t thread_commit(const std::function<void()>& commit)
{
    ThreadRecord* self = Self();
    if (self == nullptr) {
        commit();
        return B_OK;
    }
    {
        std::lock_guard lock(self->mutex);
        if (!self->killed) {
            commit();
            return B_OK;
        }
    }
    return UnwindIfKilled(self);
}
