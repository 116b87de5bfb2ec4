#include "BPopUpMenu.h"

#include "BWindow.h"
#include "MainLoop.h"

BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool labelFromMarked, menu_layout layout)
    : BMenu(name, layout)
{
    SetRadioMode(radioMode);
    if (labelFromMarked)
        SetLabelFromMarked(true);
}

BPopUpMenu::~BPopUpMenu() = default;

// On the UI thread the wait is a nested loop, so every window goes on
// drawing and answering meanwhile; another thread just waits.
BMenuItem* BPopUpMenu::Go(BPoint where, bool deliversMessage, bool, bool async)
{
    MainLoop& loop = MainLoop::Get();
    {
        std::lock_guard<std::mutex> hold(fLock);
        fOpen = true;
    }
    SetDeliversMessages(deliversMessage);
    if (loop.IsLoopThread()) {
        Open(where, nullptr);
        if (async)
            return nullptr;
        loop.RunUntil([this] { return !IsOpen(); });
        return LastChosen();
    }
    if (!loop.Call([&] { Open(where, nullptr); }))
        return nullptr;
    if (async)
        return nullptr;
    std::unique_lock<std::mutex> hold(fLock);
    fClosed.wait(hold, [this] { return !fOpen; });
    return LastChosen();
}

void BPopUpMenu::MenuClosed()
{
    std::lock_guard<std::mutex> hold(fLock);
    fOpen = false;
    fClosed.notify_all();
}
