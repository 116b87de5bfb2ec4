// A looper standing in for a window: the test thread dispatches its
// messages itself and looks at what arrived.
#pragma once

#include "BLooper.h"
#include "BMessage.h"

#include <memory>
#include <vector>

namespace stowtest {

class Inbox : public BLooper {
public:
    explicit Inbox(int32 capacity = 200)
        : BLooper("inbox", B_NORMAL_PRIORITY, capacity)
    {
        SetDispatchThread(find_thread(nullptr), [] {});
        Run();
    }
    void MessageReceived(BMessage* message) override { received.push_back(*message); }
    size_t Drain()
    {
        DispatchMessages();
        return received.size();
    }

    std::vector<BMessage> received;
};

// An inbox standing for the application: quit requests are counted, not
// obeyed, so that the test decides when things end.
class AppInbox : public Inbox {
public:
    bool QuitRequested() override
    {
        ++quitRequests;
        return false;
    }

    int quitRequests = 0;
};

struct InboxCloser {
    void operator()(Inbox* inbox) const
    {
        inbox->Lock();
        inbox->Quit();
    }
};
using InboxPtr = std::unique_ptr<Inbox, InboxCloser>;

inline InboxPtr MakeInbox(int32 capacity = 200)
{
    return InboxPtr(new Inbox(capacity));
}

inline std::unique_ptr<AppInbox, InboxCloser> MakeAppInbox()
{
    return std::unique_ptr<AppInbox, InboxCloser>(new AppInbox);
}

} // namespace stowtest
