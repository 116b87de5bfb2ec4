#include "RunningExecutable.h"

#include <cerrno>
#include <climits>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex sOverrideLock;
std::string sOverride;

} // namespace

status_t get_running_executable_path(std::string& path)
{
    {
        std::lock_guard<std::mutex> lock(sOverrideLock);
        if (!sOverride.empty()) {
            path = sOverride;
            return B_OK;
        }
    }
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length < 0)
        return status_from_errno(errno);
    buffer[length] = '\0';
    std::string found(buffer, size_t(length));
    // A file deleted or replaced after start (a rebuilt program, say) is no
    // longer the one running; the kernel then appends " (deleted)" to the
    // name, or a successor sits there that must not be mistaken for it.
    struct stat onDisk, running;
    if (stat(found.c_str(), &onDisk) != 0 || stat("/proc/self/exe", &running) != 0
        || onDisk.st_dev != running.st_dev || onDisk.st_ino != running.st_ino)
        return B_ENTRY_NOT_FOUND;
    path = found;
    return B_OK;
}

void set_running_executable_path(const char* path)
{
    std::lock_guard<std::mutex> lock(sOverrideLock);
    sOverride = path != nullptr ? path : "";
}
