#include "ScopedResources.h"

#include "FileOperations.h"

#include <cerrno>
#include <unistd.h>

ScopedFd::~ScopedFd()
{
    if (fFd >= 0)
        close(fFd);
}

void ScopedFd::Reset(int fd)
{
    if (fFd >= 0)
        close(fFd);
    fFd = fd;
}

status_t ScopedFd::Close()
{
    if (fFd < 0)
        return B_OK;
    int result = close(fFd);
    fFd = -1;
    return result == 0 ? B_OK : status_from_errno(errno);
}

ScopedDir open_dir_from(int fd)
{
    if (fd < 0)
        return nullptr;
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        int error = errno;
        close(fd);
        errno = error;
    }
    return ScopedDir(dir);
}

ScopedRemoval::~ScopedRemoval()
{
    if (!fPath.empty())
        remove_entry(fPath.c_str());
}
