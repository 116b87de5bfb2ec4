#include "NodeMonitor.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// A target that takes longer than this to make room for a notice misses it
// rather than holding up the others.
constexpr bigtime_t kSendTimeout = 1000000;

class MountNotices {
public:
    status_t Add(const BMessenger& target)
    {
        std::lock_guard<std::mutex> hold(fLock);
        if (!target.IsValid())
            return B_BAD_VALUE;
        if (std::find(fTargets.begin(), fTargets.end(), target) == fTargets.end())
            fTargets.push_back(target);
        if (fWatcher == nullptr) {
            fWatcher = std::make_unique<MountWatcher>(
                [this](int32 opcode, dev_t device) { Notify(opcode, device); });
            status_t status = fWatcher->Start();
            if (status != B_OK) {
                fWatcher.reset();
                return status;
            }
        }
        return B_OK;
    }

    status_t Remove(const BMessenger& target)
    {
        std::lock_guard<std::mutex> hold(fLock);
        auto found = std::find(fTargets.begin(), fTargets.end(), target);
        if (found == fTargets.end())
            return B_BAD_VALUE;
        fTargets.erase(found);
        return B_OK;
    }

private:
    // On the watcher's thread. Targets that are gone are dropped.
    void Notify(int32 opcode, dev_t device)
    {
        std::vector<BMessenger> targets;
        {
            std::lock_guard<std::mutex> hold(fLock);
            std::erase_if(fTargets, [](const BMessenger& target) { return !target.IsValid(); });
            targets = fTargets;
        }
        BMessage notice(B_NODE_MONITOR);
        notice.AddInt32("opcode", opcode);
        notice.AddInt32(opcode == B_DEVICE_MOUNTED ? "new device" : "device", int32(device));
        for (const BMessenger& target : targets)
            target.SendMessage(&notice, static_cast<BHandler*>(nullptr), kSendTimeout);
    }

    std::mutex fLock;
    std::vector<BMessenger> fTargets;
    std::unique_ptr<MountWatcher> fWatcher;
};

// Lives as long as the process: the watcher's thread may still be calling
// it while the program ends.
MountNotices& Notices()
{
    static auto* notices = new MountNotices;
    return *notices;
}

} // namespace

status_t watch_node(const node_ref* node, uint32 flags, BMessenger target)
{
    if (flags == B_STOP_WATCHING)
        return stop_watching(target);
    if (node != nullptr || flags != B_WATCH_MOUNT)
        return B_UNSUPPORTED;
    return Notices().Add(target);
}

status_t watch_node(
    const node_ref* node, uint32 flags, const BHandler* handler, const BLooper* looper)
{
    return watch_node(node, flags, BMessenger(handler, looper));
}

status_t stop_watching(BMessenger target)
{
    return Notices().Remove(target);
}

status_t stop_watching(const BHandler* handler, const BLooper* looper)
{
    return stop_watching(BMessenger(handler, looper));
}
