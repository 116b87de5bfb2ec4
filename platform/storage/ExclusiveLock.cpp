#include "ExclusiveLock.h"

#include "BDirectory.h"
#include "FindDirectory.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A lock whose file was replaced under it is tried again this often.
constexpr int kAttempts = 16;

// FNV-1a, 64 bits: any name becomes a short, safe file name.
std::string FileName(const std::string& name)
{
    uint64 hash = 0xcbf29ce484222325ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    char text[32];
    snprintf(text, sizeof text, "%016" PRIx64 ".lock", hash);
    return text;
}

bool SameFile(int fd, const std::string& path)
{
    struct stat open;
    struct stat named;
    return fstat(fd, &open) == 0 && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

} // namespace

ExclusiveLock::~ExclusiveLock()
{
    Unlock();
}

std::string ExclusiveLock::Folder()
{
    return standard_base_folder(FolderBase::DataHome) + "/Stowfast/locks";
}

status_t ExclusiveLock::Lock(const std::string& name)
{
    Unlock();
    std::string folder = Folder();
    status_t status = create_directory(folder.c_str(), 0700);
    if (status != B_OK)
        return status;
    std::string path = folder + "/" + FileName(name);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return status_from_errno(errno);
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int error = errno;
            close(fd);
            return error == EWOULDBLOCK ? B_BUSY : status_from_errno(error);
        }
        // The holder before may have removed the file between our open and
        // our lock: a lock on a file nobody else finds is no lock at all.
        if (SameFile(fd, path)) {
            fFd = fd;
            fPath = path;
            return B_OK;
        }
        close(fd);
    }
    return B_BUSY;
}

void ExclusiveLock::Unlock()
{
    if (fFd < 0)
        return;
    // Removed while still held, so whoever opens the name next makes a new
    // file and never locks this one unseen.
    unlink(fPath.c_str());
    close(fFd);
    fFd = -1;
    fPath.clear();
}
