#include "BFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int LinuxFlags(uint32 openMode)
{
    int flags = O_CLOEXEC;
    switch (openMode & B_ACCESS_MODE_MASK) {
    case B_WRITE_ONLY:
        flags |= O_WRONLY;
        break;
    case B_READ_WRITE:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if (openMode & B_CREATE_FILE)
        flags |= O_CREAT;
    if (openMode & B_FAIL_IF_EXISTS)
        flags |= O_EXCL;
    if (openMode & B_ERASE_FILE)
        flags |= O_TRUNC;
    if (openMode & B_OPEN_AT_END)
        flags |= O_APPEND;
    return flags;
}

// Where the open file really is, links resolved.
std::string ResolvedPath(int fd, const char* given)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    ssize_t length = readlink(link, target, sizeof target - 1);
    if (length > 0 && target[0] == '/')
        return std::string(target, size_t(length));
    return given;
}

} // namespace

BFile::BFile() = default;

BFile::BFile(const char* path, uint32 openMode)
{
    SetTo(path, openMode);
}

BFile::BFile(const entry_ref* ref, uint32 openMode)
{
    SetTo(ref, openMode);
}

BFile::BFile(const BFile& file)
    : BNode()
{
    *this = file;
}

BFile& BFile::operator=(const BFile& file)
{
    if (this == &file)
        return *this;
    Unset();
    if (file.fFd < 0)
        return *this;
    int fd = fcntl(file.fFd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return *this;
    fFd = fd;
    fMode = file.fMode;
    if (SetToDescriptor(fd, file.Path()) != B_OK)
        Close();
    return *this;
}

BFile::~BFile()
{
    Close();
}

status_t BFile::SetTo(const char* path, uint32 openMode)
{
    Unset();
    if (path == nullptr || *path == '\0')
        return SetInitStatus(B_BAD_VALUE);
    int fd = open(path, LinuxFlags(openMode), 0644);
    if (fd < 0)
        return SetInitStatus(status_from_errno(errno));
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return SetInitStatus(B_IS_A_DIRECTORY);
    }
    fFd = fd;
    fMode = openMode;
    status_t status = SetToDescriptor(fd, ResolvedPath(fd, path));
    if (status != B_OK)
        Close();
    return SetInitStatus(status);
}

status_t BFile::SetTo(const entry_ref* ref, uint32 openMode)
{
    Unset();
    if (ref == nullptr || !ref->IsSet() || ref->directoryPath.empty())
        return SetInitStatus(B_BAD_VALUE);
    std::string path = ref->directoryPath;
    if (path.back() != '/')
        path += '/';
    return SetTo((path + ref->name).c_str(), openMode);
}

void BFile::Unset()
{
    Close();
    BNode::Unset();
}

void BFile::Close()
{
    if (fFd >= 0)
        close(fFd);
    fFd = -1;
    fMode = 0;
}

bool BFile::IsReadable() const
{
    uint32 access = fMode & B_ACCESS_MODE_MASK;
    return fFd >= 0 && (access == B_READ_ONLY || access == B_READ_WRITE);
}

bool BFile::IsWritable() const
{
    uint32 access = fMode & B_ACCESS_MODE_MASK;
    return fFd >= 0 && (access == B_WRITE_ONLY || access == B_READ_WRITE);
}

ssize_t BFile::Read(void* buffer, size_t size)
{
    if (fFd < 0)
        return B_NO_INIT;
    ssize_t got;
    do
        got = read(fFd, buffer, size);
    while (got < 0 && errno == EINTR);
    return got < 0 ? status_from_errno(errno) : got;
}

ssize_t BFile::ReadAt(off_t location, void* buffer, size_t size) const
{
    if (fFd < 0)
        return B_NO_INIT;
    if (location < 0)
        return B_BAD_VALUE;
    ssize_t got;
    do
        got = pread(fFd, buffer, size, location);
    while (got < 0 && errno == EINTR);
    return got < 0 ? status_from_errno(errno) : got;
}

ssize_t BFile::Write(const void* buffer, size_t size)
{
    if (fFd < 0)
        return B_NO_INIT;
    ssize_t wrote;
    do
        wrote = write(fFd, buffer, size);
    while (wrote < 0 && errno == EINTR);
    return wrote < 0 ? status_from_errno(errno) : wrote;
}

ssize_t BFile::WriteAt(off_t location, const void* buffer, size_t size)
{
    if (fFd < 0)
        return B_NO_INIT;
    if (location < 0)
        return B_BAD_VALUE;
    ssize_t wrote;
    do
        wrote = pwrite(fFd, buffer, size, location);
    while (wrote < 0 && errno == EINTR);
    return wrote < 0 ? status_from_errno(errno) : wrote;
}

off_t BFile::Seek(off_t offset, uint32 seekMode)
{
    if (fFd < 0)
        return B_NO_INIT;
    off_t result = lseek(fFd, offset, int(seekMode));
    return result < 0 ? status_from_errno(errno) : result;
}

off_t BFile::Position() const
{
    if (fFd < 0)
        return B_NO_INIT;
    off_t result = lseek(fFd, 0, SEEK_CUR);
    return result < 0 ? status_from_errno(errno) : result;
}

status_t BFile::GetSize(off_t* size) const
{
    if (fFd < 0)
        return B_NO_INIT;
    if (size == nullptr)
        return B_BAD_VALUE;
    struct stat st;
    if (fstat(fFd, &st) != 0)
        return status_from_errno(errno);
    *size = st.st_size;
    return B_OK;
}

status_t BFile::SetSize(off_t size)
{
    if (fFd < 0)
        return B_NO_INIT;
    if (size < 0)
        return B_BAD_VALUE;
    if (!IsWritable())
        return B_NOT_ALLOWED;
    return ftruncate(fFd, size) == 0 ? B_OK : status_from_errno(errno);
}
