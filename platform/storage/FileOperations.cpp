#include "FileOperations.h"

#include "BNode.h"
#include "NodeAttributes.h"
#include "PathText.h"
#include "ScopedResources.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Seeded from the kernel directly: std::random_device would tie the
// programs to a newer C library than they otherwise need.
uint64_t RandomSeed()
{
    uint64_t seed = 0;
    if (getrandom(&seed, sizeof seed, GRND_NONBLOCK) != ssize_t(sizeof seed))
        seed = uint64_t(getpid()) << 32 ^ uint64_t(time(nullptr));
    return seed;
}

std::string RandomSuffix()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator(RandomSeed());
    std::string result;
    for (int i = 0; i < 10; ++i)
        result += kLetters[generator() % (sizeof(kLetters) - 1)];
    return result;
}

bool IsDirectoryEmpty(const std::string& path)
{
    ScopedDir dir(opendir(path.c_str()));
    if (!dir)
        return false;
    while (struct dirent* item = readdir(dir.get())) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0)
            return false;
    }
    return true;
}

class Remover {
public:
    explicit Remover(const CancelCheck& cancel)
        : fCancel(cancel)
    { }

    status_t RemoveAt(int folder, const char* name);

private:
    bool EmptyFolder(int fd);
    void Note(status_t status)
    {
        if (fFirstError == B_OK)
            fFirstError = status;
    }

    status_t fFirstError = B_OK;
    const CancelCheck& fCancel;
    bool fCancelled = false;
};

// Removes `name` in the open folder `folder`. Folders are opened relative to
// their parent without following links, so a folder swapped for a link
// mid-way is never walked into.
status_t Remover::RemoveAt(int folder, const char* name)
{
    if (fCancelled || (fCancel && fCancel())) {
        fCancelled = true;
        return B_CANCELED;
    }
    struct stat st;
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? B_OK : status_from_errno(errno);
    if (!S_ISDIR(st.st_mode))
        return unlinkat(folder, name, 0) == 0 ? B_OK : status_from_errno(errno);
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    ScopedFd fd(openat(folder, name, flags));
    if (!fd.IsValid() && errno == EACCES && st.st_uid == geteuid()) {
        // Our own read-protected folder: make it readable and try again.
        fchmodat(folder, name, (st.st_mode & 07777) | S_IRWXU, 0);
        fd.Reset(openat(folder, name, flags));
    }
    if (!fd.IsValid())
        return status_from_errno(errno);
    bool emptied = EmptyFolder(fd.Get());
    fd.Close();
    if (fCancelled)
        return B_CANCELED;
    if (unlinkat(folder, name, AT_REMOVEDIR) == 0)
        return B_OK;
    return emptied ? status_from_errno(errno) : fFirstError;
}

// Removes everything inside; false when something stayed.
bool Remover::EmptyFolder(int fd)
{
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & S_IRWXU) != S_IRWXU)
        fchmod(fd, (st.st_mode & 07777) | S_IRWXU);
    // Some file systems skip entries when a folder changes while it is read;
    // read again until a pass removes nothing more.
    for (bool progress = true; progress;) {
        progress = false;
        std::vector<std::string> names;
        {
            ScopedDir dir = open_dir_from(dup(fd));
            if (!dir) {
                Note(status_from_errno(errno));
                return false;
            }
            rewinddir(dir.get());
            while (struct dirent* item = readdir(dir.get())) {
                if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0)
                    names.push_back(item->d_name);
            }
        }
        bool failed = false;
        for (const auto& name : names) {
            status_t status = RemoveAt(fd, name.c_str());
            if (fCancelled)
                return false;
            if (status == B_OK)
                progress = true;
            else {
                failed = true;
                Note(status);
            }
        }
        if (!failed)
            return true;
    }
    return false;
}

} // namespace

status_t create_beside(const std::string& finalPath,
    const std::function<int(const std::string&)>& make, std::string* tempPath)
{
    std::string folder = parent_path(finalPath);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = join_path(folder, ".stow-" + RandomSuffix());
        int error = make(candidate);
        if (error == 0) {
            *tempPath = candidate;
            return B_OK;
        }
        if (error != EEXIST)
            return status_from_errno(error);
    }
    return B_FILE_EXISTS;
}

status_t copy_attributes(const char* from, const char* to)
{
    BNode source(from);
    BNode target(to);
    if (source.InitCheck() != B_OK)
        return source.InitCheck();
    if (target.InitCheck() != B_OK)
        return target.InitCheck();
    return copy_node_attributes(source, target);
}

status_t move_entry(
    const char* source, const char* destination, TargetMode mode, const CancelCheck& cancel)
{
    if (source == nullptr || *source == '\0' || destination == nullptr || *destination == '\0')
        return B_BAD_VALUE;
    struct stat st;
    if (lstat(source, &st) != 0)
        return status_from_errno(errno);
    std::string target = resolve_destination(source, destination, mode);
    struct stat existing;
    bool exists = lstat(target.c_str(), &existing) == 0;
    if (exists && existing.st_dev == st.st_dev && existing.st_ino == st.st_ino)
        return target == source ? B_OK : B_BAD_VALUE;
    if (cancel && cancel())
        return B_CANCELED;
    if (rename(source, target.c_str()) == 0)
        return B_OK;
    if (errno != EXDEV)
        return status_from_errno(errno);

    // Another volume: the same checks rename makes, then copy and remove.
    if (exists && S_ISDIR(existing.st_mode)) {
        if (!S_ISDIR(st.st_mode))
            return B_IS_A_DIRECTORY;
        if (!IsDirectoryEmpty(target))
            return B_DIRECTORY_NOT_EMPTY;
        if (rmdir(target.c_str()) != 0)
            return status_from_errno(errno);
    } else if (exists && S_ISDIR(st.st_mode)) {
        return B_NOT_A_DIRECTORY;
    }
    status_t status = copy_entry(source, target.c_str(), TargetMode::ExactPath, cancel);
    if (status != B_OK)
        return status;
    return remove_entry(source);
}

status_t remove_entry(const char* path, const CancelCheck& cancel)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    std::string leaf = leaf_name(path);
    if (leaf == "/" || leaf == "." || leaf == "..")
        return B_NOT_ALLOWED;
    ScopedFd folder(open(parent_path(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsValid())
        return errno == ENOENT ? B_OK : status_from_errno(errno);
    Remover remover(cancel);
    return remover.RemoveAt(folder.Get(), leaf.c_str());
}

status_t make_symlink(const char* target, const char* link)
{
    if (target == nullptr || *target == '\0' || link == nullptr || *link == '\0')
        return B_BAD_VALUE;
    std::string place = link;
    struct stat st;
    if (lstat(place.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::string leaf = leaf_name(target);
        if (leaf == "/" || leaf == "." || leaf == "..")
            return B_BAD_VALUE;
        place = join_path(place, leaf);
        if (lstat(place.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return B_IS_A_DIRECTORY;
    }
    std::string temp;
    status_t status = create_beside(
        place,
        [target](const std::string& candidate) {
            return symlink(target, candidate.c_str()) == 0 ? 0 : errno;
        },
        &temp);
    if (status != B_OK)
        return status;
    if (rename(temp.c_str(), place.c_str()) != 0) {
        status = status_from_errno(errno);
        unlink(temp.c_str());
    }
    return status;
}

status_t write_file_atomically(const char* path, const void* data, size_t size, mode_t mode)
{
    if (path == nullptr || *path == '\0' || (data == nullptr && size > 0))
        return B_BAD_VALUE;
    struct stat st;
    if (lstat(path, &st) == 0 && S_ISDIR(st.st_mode))
        return B_IS_A_DIRECTORY;
    int fd = -1;
    std::string temp;
    status_t status = create_beside(
        path,
        [&fd](const std::string& candidate) {
            fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return fd >= 0 ? 0 : errno;
        },
        &temp);
    if (status != B_OK)
        return status;
    status = write_all(fd, data, size);
    if (status == B_OK && fchmod(fd, mode & 07777) != 0)
        status = status_from_errno(errno);
    if (status == B_OK && fsync(fd) != 0)
        status = status_from_errno(errno);
    if (close(fd) != 0 && status == B_OK)
        status = status_from_errno(errno);
    if (status == B_OK && rename(temp.c_str(), path) != 0)
        status = status_from_errno(errno);
    if (status != B_OK)
        unlink(temp.c_str());
    return status;
}
