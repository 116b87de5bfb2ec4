#include "WindowList.h"

#include "BWindow.h"
#include "MainLoop.h"

#include <algorithm>
#include <mutex>

namespace {

struct Registry {
    std::mutex lock;
    std::vector<BWindow*> windows; // front to back
    bool hooked = false;
};

Registry& Windows()
{
    static Registry registry;
    return registry;
}

} // namespace

void WindowList::Add(BWindow* window)
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    registry.windows.push_back(window);
    if (!registry.hooked) {
        registry.hooked = true;
        InstallHooks();
    }
}

void WindowList::Remove(BWindow* window)
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    std::erase(registry.windows, window);
}

bool WindowList::Contains(const BWindow* window)
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    return std::find(registry.windows.begin(), registry.windows.end(), window)
        != registry.windows.end();
}

std::vector<BWindow*> WindowList::Snapshot()
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    return registry.windows;
}

BWindow* WindowList::Front()
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (BWindow* window : registry.windows) {
        if (!window->IsHidden())
            return window;
    }
    return nullptr;
}

void WindowList::SetFront(BWindow* window)
{
    Registry& registry = Windows();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = std::find(registry.windows.begin(), registry.windows.end(), window);
    if (found != registry.windows.end())
        std::rotate(registry.windows.begin(), found, found + 1);
}

void WindowList::InstallHooks()
{
    MainLoop::Get().SetTurnHooks(TakeInput, SyncNative);
}

// A window another thread holds locked is left for a later turn; one inside
// a handler further up the UI thread (a modal alert's nested loop) keeps its
// input until that handler returns.
bool WindowList::TakeInput()
{
    MainLoop& loop = MainLoop::Get();
    bool more = false;
    for (BWindow* window : Snapshot()) {
        if (!Contains(window) || loop.IsDispatching(window) || !window->HasPendingInput())
            continue;
        if (window->LockWithTimeout(0) != B_OK) {
            more = true;
            continue;
        }
        loop.BeginDispatch(window);
        window->TakeInput();
        loop.EndDispatch(window);
        if (window->IsTerminating())
            delete window; // it quit while handling its input
        else
            window->Unlock();
    }
    return more;
}

bool WindowList::SyncNative()
{
    bool more = false;
    for (BWindow* window : Snapshot()) {
        if (!Contains(window))
            continue;
        if (window->LockWithTimeout(0) != B_OK) {
            more = true;
            continue;
        }
        window->SyncNative();
        window->Unlock();
    }
    return more;
}
