// Mount and unmount notices: a thread waits on the kernel's mount table
// (which signals every change as an exceptional condition) and calls back
// once for each volume that appeared or went away.
#pragma once

#include "MountTable.h"
#include "SupportDefs.h"

#include <functional>
#include <set>
#include <string>
#include <thread>

// Node monitor codes of the mount notices.
enum : int32 {
    B_DEVICE_MOUNTED = 6,
    B_DEVICE_UNMOUNTED = 7,
};
constexpr uint32 B_WATCH_MOUNT = 0x0100;
constexpr uint32 B_NODE_MONITOR = 'NDMN';

class MountWatcher {
public:
    // Called on the watcher's thread with B_DEVICE_MOUNTED or
    // B_DEVICE_UNMOUNTED and the volume's device.
    using Callback = std::function<void(int32 opcode, dev_t device)>;

    explicit MountWatcher(Callback callback, const char* table = "/proc/self/mountinfo");
    ~MountWatcher();
    MountWatcher(const MountWatcher&) = delete;
    MountWatcher& operator=(const MountWatcher&) = delete;

    status_t Start();
    // Waits until the thread has ended; no callback runs after it returns.
    void Stop();
    bool IsRunning() const { return fThread.joinable(); }

private:
    void Run(int tableFd);
    std::set<dev_t> ReadVolumes(int tableFd);

    Callback fCallback;
    std::string fTable;
    std::thread fThread;
    int fWakeFds[2] = {-1, -1};
    std::set<dev_t> fKnown;
};
