#include "WalkFolderReader.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

class FdGuard {
public:
    explicit FdGuard(int fd)
        : fFd(fd)
    { }
    ~FdGuard()
    {
        if (fFd >= 0)
            close(fFd);
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return fFd; }
    int Release() { return std::exchange(fFd, -1); }

private:
    int fFd;
};

// The kernel's directory record, as getdents64 fills the buffer.
struct KernelDirent {
    uint64 d_ino;
    int64 d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

// Directory records are read straight into one buffer per depth, reused
// for every folder at that depth.
constexpr size_t kDirBufferSize = 32768;

bool IsDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

WalkNodeKind KindOfMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return WalkNodeKind::Directory;
    if (S_ISLNK(mode))
        return WalkNodeKind::SymLink;
    return S_ISREG(mode) ? WalkNodeKind::File : WalkNodeKind::Other;
}

int OpenFolder(int parentFd, const char* name)
{
    return openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

WalkFolderReader::WalkFolderReader(WalkShared& shared)
    : fShared(shared)
    , fAttributes(shared.options, shared.storeInodes)
{ }

void WalkFolderReader::Read(WalkTask& task)
{
    fPath = task.path;
    std::string leaf = task.Leaf();
    ReadFolder(std::exchange(task.fd, -1), leaf.c_str(), task.size, task.items);
}

char* WalkFolderReader::BufferFor(size_t depth)
{
    while (fDirBuffers.size() <= depth)
        fDirBuffers.push_back(std::make_unique<char[]>(kDirBufferSize));
    return fDirBuffers[depth].get();
}

// Reads the open folder `fd` (taken over) entry by entry; fPath is its path.
void WalkFolderReader::ReadFolder(int rawFd, const char* name, off_t size, Items& items)
{
    FdGuard fd(rawFd);
    if (fShared.queue.Stopping())
        return;
    fBytes += size;
    char* buffer = BufferFor(fDepth);
    ++fDepth;
    struct DepthMark {
        size_t& depth;
        ~DepthMark() { --depth; }
    } mark {fDepth};
    for (;;) {
        Flush();
        // Once per batch, so that a long folder reports (and stops) too.
        if (fFolderHook)
            fFolderHook(name);
        ssize_t count = getdents64(fd.Get(), buffer, kDirBufferSize);
        if (count <= 0)
            return;
        for (ssize_t at = 0; at < count;) {
            const auto* entry = reinterpret_cast<const KernelDirent*>(buffer + at);
            at += entry->d_reclen;
            if (IsDotOrDotDot(entry->d_name))
                continue;
            size_t pathMark = fPath.size();
            if (fPath.back() != '/')
                fPath += '/';
            fPath += entry->d_name;
            if (entry->d_type == DT_DIR)
                VisitFolder(fd.Get(), entry->d_name, items);
            else
                VisitOther(fd.Get(), entry->d_name, entry->d_type, ino_t(entry->d_ino), items);
            fPath.resize(pathMark);
        }
    }
}

void WalkFolderReader::VisitFolder(int parentFd, const char* name, Items& items)
{
    FdGuard fd(OpenFolder(parentFd, name));
    struct stat st;
    if (fd.Get() >= 0 ? fstat(fd.Get(), &st) != 0
                      : fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return; // gone since the folder was read
    if (!S_ISDIR(st.st_mode)) {
        // Replaced by something else since the folder was read.
        VisitOther(parentFd, name, DT_UNKNOWN, st.st_ino, items);
        return;
    }
    FinishFolder(parentFd, name, fd.Release(), st, items);
}

void WalkFolderReader::FinishFolder(
    int parentFd, const char* name, int rawFd, const struct stat& st, Items& items)
{
    FdGuard fd(rawFd);
    if (st.st_dev != fShared.device || Skipped(st))
        return;
    WalkEntry entry;
    entry.path = &fPath;
    entry.name = name;
    entry.kind = WalkNodeKind::Directory;
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    fAttributes.Read(parentFd, name, fd.Get(), fPath, entry);
    Met(entry, items);
    if (fd.Get() < 0)
        return; // unreadable: visited, not entered
    if (fShared.queue.WantsWork()) {
        auto task = std::make_unique<WalkTask>(fd.Release(), fPath, st.st_size);
        WalkTask* handed = task.get();
        items.emplace_back(std::move(task));
        fShared.queue.Push(handed);
        return;
    }
    ReadFolder(fd.Release(), name, st.st_size, items);
}

void WalkFolderReader::VisitOther(
    int parentFd, const char* name, unsigned char type, ino_t inode, Items& items)
{
    WalkEntry entry;
    entry.path = &fPath;
    entry.name = name;
    entry.device = fShared.device;
    entry.inode = inode;
    struct stat st;
    if (type == DT_UNKNOWN || fShared.options.sizes == WalkSizes::Measure) {
        if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        if (S_ISDIR(st.st_mode)) {
            FinishFolder(parentFd, name, OpenFolder(parentFd, name), st, items);
            return;
        }
        if (st.st_dev != fShared.device)
            return;
        entry.inode = st.st_ino;
        entry.kind = KindOfMode(st.st_mode);
        entry.size = fShared.options.sizes == WalkSizes::Measure ? st.st_size : 0;
    } else {
        entry.kind = type == DT_REG ? WalkNodeKind::File
            : type == DT_LNK        ? WalkNodeKind::SymLink
                                    : WalkNodeKind::Other;
    }
    if (entry.kind == WalkNodeKind::File)
        fAttributes.Read(parentFd, name, -1, fPath, entry);
    else
        fAttributes.ReadKept(fPath, entry); // the kernel keeps no user attributes on these
    Met(entry, items);
}

// Counts the entry, and keeps it when it is one the walk looks for.
void WalkFolderReader::Met(const WalkEntry& entry, Items& items)
{
    ++fEntries;
    fBytes += entry.size;
    if (!Wanted(entry))
        return;
    ++fFound;
    WalkFound found;
    found.path = fPath;
    found.nameOffset = fPath.size() - strlen(entry.name);
    found.entry = entry;
    // A found entry whose value had to equal the wanted one carries that
    // one; only the others keep a copy of their own.
    if (fShared.options.wantedValue.empty())
        found.value = entry.value;
    items.emplace_back(std::move(found));
}

// The counts go to the shared ones once per batch of entries, not per entry,
// so that the threads do not fight over them.
void WalkFolderReader::Flush()
{
    fShared.entries.fetch_add(std::exchange(fEntries, 0), std::memory_order_relaxed);
    fShared.bytes.fetch_add(std::exchange(fBytes, 0), std::memory_order_relaxed);
    fShared.found.fetch_add(std::exchange(fFound, 0), std::memory_order_relaxed);
}

bool WalkFolderReader::Wanted(const WalkEntry& entry) const
{
    if (entry.attribute == WalkAttribute::None)
        return false;
    const std::string& wanted = fShared.options.wantedValue;
    if (wanted.empty())
        return true;
    // The whole value against the whole text, letter case included.
    return entry.attribute == WalkAttribute::Value && entry.type == B_STRING_TYPE
        && entry.value == wanted;
}

bool WalkFolderReader::Skipped(const struct stat& st) const
{
    const auto& skip = fShared.options.skipFolders;
    return std::find(skip.begin(), skip.end(), std::make_pair(st.st_dev, st.st_ino)) != skip.end();
}
