#include "MountWatcher.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

MountWatcher::MountWatcher(Callback callback, const char* table)
    : fCallback(std::move(callback))
    , fTable(table)
{ }

MountWatcher::~MountWatcher()
{
    Stop();
}

status_t MountWatcher::Start()
{
    if (IsRunning())
        return B_OK;
    int tableFd = open(fTable.c_str(), O_RDONLY | O_CLOEXEC);
    if (tableFd < 0)
        return status_from_errno(errno);
    if (pipe2(fWakeFds, O_CLOEXEC) != 0) {
        status_t status = status_from_errno(errno);
        close(tableFd);
        return status;
    }
    // The starting set is taken here, so that a change right after Start
    // returns is reported.
    fKnown = ReadVolumes(tableFd);
    fThread = std::thread([this, tableFd] { Run(tableFd); });
    return B_OK;
}

void MountWatcher::Stop()
{
    if (!IsRunning())
        return;
    char byte = 0;
    while (write(fWakeFds[1], &byte, 1) < 0 && errno == EINTR) { }
    fThread.join();
    close(fWakeFds[0]);
    close(fWakeFds[1]);
    fWakeFds[0] = fWakeFds[1] = -1;
}

std::set<dev_t> MountWatcher::ReadVolumes(int tableFd)
{
    std::string text;
    char buffer[8192];
    lseek(tableFd, 0, SEEK_SET);
    ssize_t length;
    while ((length = read(tableFd, buffer, sizeof(buffer))) > 0)
        text.append(buffer, size_t(length));
    std::set<dev_t> devices;
    for (const auto& entry : volume_mounts(parse_mount_table(text)))
        devices.insert(entry.device);
    return devices;
}

void MountWatcher::Run(int tableFd)
{
    for (;;) {
        struct pollfd fds[2] = {{tableFd, POLLPRI, 0}, {fWakeFds[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents != 0)
            break;
        if ((fds[0].revents & (POLLPRI | POLLERR)) == 0)
            continue;
        std::set<dev_t> current = ReadVolumes(tableFd);
        for (dev_t device : fKnown) {
            if (current.count(device) == 0)
                fCallback(B_DEVICE_UNMOUNTED, device);
        }
        for (dev_t device : current) {
            if (fKnown.count(device) == 0)
                fCallback(B_DEVICE_MOUNTED, device);
        }
        fKnown = std::move(current);
    }
    close(tableFd);
}
