#include "ByteSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

FileByteSource::FileByteSource(int fd)
    : fFd(fd)
{
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && st.st_size > 0)
        fSize = uint64(st.st_size);
}

bool FileByteSource::ReadAt(uint64 offset, void* buffer, size_t length) const
{
    if (offset > fSize || length > fSize - offset)
        return false;
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < length) {
        ssize_t got = pread(fFd, out + done, length - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += size_t(got);
    }
    return true;
}

bool MemoryByteSource::ReadAt(uint64 offset, void* buffer, size_t length) const
{
    if (offset > fSize || length > fSize - offset)
        return false;
    if (length > 0)
        memcpy(buffer, fData + offset, length);
    return true;
}
