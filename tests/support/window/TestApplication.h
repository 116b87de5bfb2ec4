// The application of a window test: a UI thread of its own runs a
// BApplication (with the display of XvfbServer, or none), so that the test's
// own thread stays free to drive the windows and wait for them.
#pragma once

#include "BMessage.h"

#include <functional>
#include <string>
#include <vector>

namespace stowtest {

class TestApplication {
public:
    // Starts once per process; with a display it starts Xvfb first. False
    // (and why) when the display was wanted but could not be had.
    static bool Start(bool withDisplay, std::string* problem = nullptr);
    static bool HasDisplay();
    // Runs `task` on the UI thread and waits for it.
    static void Call(const std::function<void()>& task);
    // Waits until every window has handled its input and its queued
    // messages and has drawn what changed (and the X server has it).
    static void Settle();
    // The messages posted to the application that it does not handle
    // itself (help requests, tips), oldest first; taking them clears them.
    static std::vector<BMessage> TakeAppMessages();

private:
    static void Stop();
};

} // namespace stowtest
