// The copy engine behind copy_entry and cross-volume moves.
#include "FileOperations.h"
#include "PathText.h"
#include "ScopedResources.h"
#include "WriteAll.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kChunkSize = 1 << 20;

// Opens for reading without touching the access time where the kernel lets
// us (our own files), so that a copy leaves its source as it found it.
int OpenQuietly(const std::string& path, int flags)
{
    flags |= O_RDONLY | O_NOFOLLOW | O_CLOEXEC;
    int fd = open(path.c_str(), flags | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = open(path.c_str(), flags);
    return fd;
}

class FileCopier {
public:
    explicit FileCopier(const CancelCheck& cancel)
        : fCancel(cancel)
    { }

    status_t Copy(const std::string& source, const std::string& destination);

private:
    bool Cancelled() const { return fCancel && fCancel(); }
    status_t CopyNew(const std::string& source, const struct stat& st, const std::string& target);
    status_t CopyChildren(const std::string& source, const std::string& target, bool merge);
    status_t CopyFile(const std::string& source, const struct stat& st, const std::string& target);
    status_t CopyData(int in, int out);
    status_t Finish(const std::string& source, const struct stat& st, const std::string& target);
    status_t BuildBeside(
        const std::string& source, const struct stat& st, const std::string& destination);

    const CancelCheck& fCancel;
};

status_t FileCopier::Copy(const std::string& source, const std::string& destination)
{
    if (Cancelled())
        return B_CANCELED;
    struct stat st;
    if (lstat(source.c_str(), &st) != 0)
        return status_from_errno(errno);
    struct stat existing;
    if (lstat(destination.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return status_from_errno(errno);
        return BuildBeside(source, st, destination);
    }
    if (existing.st_dev == st.st_dev && existing.st_ino == st.st_ino)
        return B_BAD_VALUE;
    if (S_ISDIR(existing.st_mode))
        return S_ISDIR(st.st_mode) ? CopyChildren(source, destination, true) : B_IS_A_DIRECTORY;
    if (S_ISDIR(st.st_mode))
        return B_NOT_A_DIRECTORY;
    return BuildBeside(source, st, destination);
}

// Builds the copy under a hidden name beside `destination`, then renames it
// over whatever is there.
status_t FileCopier::BuildBeside(
    const std::string& source, const struct stat& st, const std::string& destination)
{
    std::string temp;
    status_t status = create_beside(
        destination,
        [](const std::string& candidate) {
            // A placeholder that reserves the name; CopyNew builds the node.
            return mkdir(candidate.c_str(), 0700) == 0 ? 0 : errno;
        },
        &temp);
    if (status != B_OK)
        return status;
    rmdir(temp.c_str());
    ScopedRemoval cleanup(temp);
    status = CopyNew(source, st, temp);
    if (status == B_OK && rename(temp.c_str(), destination.c_str()) != 0)
        status = status_from_errno(errno);
    if (status == B_OK)
        cleanup.Keep();
    return status;
}

status_t FileCopier::CopyNew(
    const std::string& source, const struct stat& st, const std::string& target)
{
    if (Cancelled())
        return B_CANCELED;
    if (S_ISREG(st.st_mode))
        return CopyFile(source, st, target);
    if (S_ISDIR(st.st_mode)) {
        if (mkdir(target.c_str(), 0700) != 0)
            return status_from_errno(errno);
        status_t status = CopyChildren(source, target, false);
        return status == B_OK ? Finish(source, st, target) : status;
    }
    if (S_ISLNK(st.st_mode)) {
        std::vector<char> buffer(PATH_MAX + 1);
        ssize_t length = readlink(source.c_str(), buffer.data(), buffer.size() - 1);
        if (length < 0)
            return status_from_errno(errno);
        buffer[size_t(length)] = '\0';
        if (symlink(buffer.data(), target.c_str()) != 0)
            return status_from_errno(errno);
        return Finish(source, st, target);
    }
    // Pipes, sockets and device nodes are made anew, as cp -R does.
    if (mknod(target.c_str(), (st.st_mode & S_IFMT) | 0600, st.st_rdev) != 0)
        return status_from_errno(errno);
    return Finish(source, st, target);
}

status_t FileCopier::CopyChildren(const std::string& source, const std::string& target, bool merge)
{
    ScopedDir dir = open_dir_from(OpenQuietly(source, O_DIRECTORY));
    if (!dir)
        return status_from_errno(errno);
    std::vector<std::string> names;
    errno = 0;
    while (struct dirent* item = readdir(dir.get())) {
        std::string name = item->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    if (errno != 0)
        return status_from_errno(errno);
    for (const auto& name : names) {
        std::string from = join_path(source, name);
        std::string to = join_path(target, name);
        status_t status;
        if (merge) {
            status = Copy(from, to);
        } else {
            struct stat st;
            status
                = lstat(from.c_str(), &st) == 0 ? CopyNew(from, st, to) : status_from_errno(errno);
        }
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

status_t FileCopier::CopyFile(
    const std::string& source, const struct stat& st, const std::string& target)
{
    ScopedFd in(OpenQuietly(source, 0));
    if (!in.IsValid())
        return status_from_errno(errno);
    ScopedFd out(open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.IsValid())
        return status_from_errno(errno);
    status_t status = CopyData(in.Get(), out.Get());
    status_t closed = out.Close();
    if (status == B_OK)
        status = closed;
    return status == B_OK ? Finish(source, st, target) : status;
}

status_t FileCopier::CopyData(int in, int out)
{
    bool kernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        if (Cancelled())
            return B_CANCELED;
        if (kernelCopy) {
            ssize_t copied = copy_file_range(in, nullptr, out, nullptr, kChunkSize, 0);
            if (copied > 0)
                continue;
            if (copied == 0)
                return B_OK;
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP
                && errno != EBADF && errno != EPERM)
                return status_from_errno(errno);
            kernelCopy = false;
            buffer.resize(kChunkSize);
        }
        ssize_t length = read(in, buffer.data(), buffer.size());
        if (length == 0)
            return B_OK;
        if (length < 0) {
            if (errno == EINTR)
                continue;
            return status_from_errno(errno);
        }
        status_t status = write_all(out, buffer.data(), size_t(length));
        if (status != B_OK)
            return status;
    }
}

// Mode and times before attributes: neither changes what the other set,
// and the attribute store recognises a node without a birth time by its
// modification time, which must therefore be final first. Folders come here
// after their contents, which would have changed their times.
status_t FileCopier::Finish(
    const std::string& source, const struct stat& st, const std::string& target)
{
    if (!S_ISLNK(st.st_mode) && chmod(target.c_str(), st.st_mode & 07777) != 0)
        return status_from_errno(errno);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return status_from_errno(errno);
    status_t status = copy_attributes(source.c_str(), target.c_str());
    if (status != B_OK || !S_ISLNK(st.st_mode))
        return status;
    // The store reads a link's target to know it, which sets its access time.
    if (utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return status_from_errno(errno);
    return B_OK;
}

// The canonical form of a path whose leaf may not exist yet.
std::string CanonicalTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    if (realpath(parent_path(path).c_str(), resolved) == nullptr)
        return path;
    return join_path(resolved, leaf_name(path));
}

bool IsInside(const std::string& folder, const std::string& path)
{
    return path == folder || path.compare(0, folder.size() + 1, folder + "/") == 0;
}

} // namespace

std::string resolve_destination(
    const std::string& source, const std::string& destination, TargetMode mode)
{
    struct stat st;
    if (mode == TargetMode::IntoFolder && stat(destination.c_str(), &st) == 0
        && S_ISDIR(st.st_mode))
        return join_path(destination, leaf_name(source));
    return destination;
}

status_t copy_entry(
    const char* source, const char* destination, TargetMode mode, const CancelCheck& cancel)
{
    if (source == nullptr || *source == '\0' || destination == nullptr || *destination == '\0')
        return B_BAD_VALUE;
    std::string target = resolve_destination(source, destination, mode);
    struct stat st;
    if (lstat(source, &st) != 0)
        return status_from_errno(errno);
    if (S_ISDIR(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(source, resolved) == nullptr)
            return status_from_errno(errno);
        if (IsInside(resolved, CanonicalTarget(target)))
            return B_BAD_VALUE;
    }
    FileCopier copier(cancel);
    return copier.Copy(source, target);
}
