// What the window tests of this folder share: a window that records what it
// receives, and starting the test application with a display.
#pragma once

#include "BWindow.h"
#include "TestApplication.h"
#include "TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace stowtest {

// Counts every message by its code and keeps the last one of each.
class RecordingWindow : public BWindow {
public:
    explicit RecordingWindow(BRect frame, const char* title = "Recording",
        uint32 flags = B_NOT_RESIZABLE | B_NOT_ZOOMABLE)
        : BWindow(frame, title, B_TITLED_WINDOW, flags)
    { }

    void MessageReceived(BMessage* message) override
    {
        std::lock_guard<std::mutex> hold(fLock);
        ++fCounts[message->what];
        fLast[message->what] = *message;
    }

    int Count(uint32 what)
    {
        std::lock_guard<std::mutex> hold(fLock);
        return fCounts[what];
    }
    BMessage Last(uint32 what)
    {
        std::lock_guard<std::mutex> hold(fLock);
        return fLast[what];
    }

private:
    std::mutex fLock;
    std::map<uint32, int> fCounts;
    std::map<uint32, BMessage> fLast;
};

inline void StartWithDisplay()
{
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
}

} // namespace stowtest
