#include "VolumeWalk.h"

#include "AttributeStore.h"
#include "XattrFormat.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <unordered_set>

namespace {

// getxattrat (Linux 6.13) reads an attribute by folder and leaf, which
// spares the kernel a walk along the whole path for every node. Its number
// is the same on every architecture with the common system call table.
#if defined(SYS_getxattrat)
constexpr long kGetXattrAt = SYS_getxattrat;
#elif defined(__x86_64__) || defined(__aarch64__) || defined(__i386__) || defined(__riscv)
constexpr long kGetXattrAt = 464;
#else
constexpr long kGetXattrAt = -1;
#endif

struct XattrArgs {
    uint64 value;
    uint32 size;
    uint32 flags;
};

std::atomic<bool> gGetXattrAtWorks {kGetXattrAt >= 0};

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

class Walker {
public:
    Walker(const VolumeWalkOptions& options, VolumeWalkVisitor& visitor)
        : fOptions(options)
        , fVisitor(visitor)
        , fXattrName(options.attribute.empty() ? "" : XattrFormat::XattrName(options.attribute))
        // Typed values carry an 8-byte prefix before the data.
        , fBuffer(options.maxValueSize + 9, '\0')
    { }

    status_t Run(const char* root);

private:
    void WalkFolder(int fd, const char* name, off_t size);
    char* BufferFor(size_t depth);
    void VisitFolder(int parentFd, const char* name);
    void VisitOther(int parentFd, const char* name, unsigned char type, ino_t inode);
    void FinishFolder(int parentFd, const char* name, int fd, const struct stat& st);
    ssize_t ReadXattr(int parentFd, const char* name, int fd);
    void ReadAttribute(int parentFd, const char* name, int fd, WalkEntry& entry);
    void TakeValue(size_t length, WalkEntry& entry);
    void ReadFromStore(WalkEntry& entry);
    bool Skipped(const struct stat& st) const;

    const VolumeWalkOptions& fOptions;
    VolumeWalkVisitor& fVisitor;
    std::string fXattrName;
    std::string fBuffer;
    std::string fDecoded;
    std::string fPath;
    std::vector<std::unique_ptr<char[]>> fDirBuffers;
    size_t fDepth = 0;
    dev_t fDevice = 0;
    std::unordered_set<uint64> fStoreInodes;
};

status_t Walker::Run(const char* root)
{
    FdGuard fd(open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0)
        return status_from_errno(errno);
    fDevice = st.st_dev;
    if (!fXattrName.empty()) {
        std::vector<uint64> inodes;
        AttributeStore::ListInodes(uint64(fDevice), inodes);
        fStoreInodes.insert(inodes.begin(), inodes.end());
    }
    fPath = root;
    while (fPath.size() > 1 && fPath.back() == '/')
        fPath.pop_back();
    size_t slash = fPath.rfind('/');
    std::string leaf = fPath == "/" ? "/" : fPath.substr(slash + 1);
    WalkFolder(fd.Release(), leaf.c_str(), st.st_size);
    return B_OK;
}

char* Walker::BufferFor(size_t depth)
{
    while (fDirBuffers.size() <= depth)
        fDirBuffers.push_back(std::make_unique<char[]>(kDirBufferSize));
    return fDirBuffers[depth].get();
}

// Reads the open folder `fd` (taken over) entry by entry; fPath is its path.
void Walker::WalkFolder(int rawFd, const char* name, off_t size)
{
    FdGuard fd(rawFd);
    fVisitor.EnterFolder(fPath, name, size);
    char* buffer = BufferFor(fDepth);
    ++fDepth;
    struct DepthMark {
        size_t& depth;
        ~DepthMark() { --depth; }
    } mark {fDepth};
    for (;;) {
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
                VisitFolder(fd.Get(), entry->d_name);
            else
                VisitOther(fd.Get(), entry->d_name, entry->d_type, ino_t(entry->d_ino));
            fPath.resize(pathMark);
        }
    }
}

void Walker::VisitFolder(int parentFd, const char* name)
{
    FdGuard fd(openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (fd.Get() >= 0 ? fstat(fd.Get(), &st) != 0
                      : fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return; // gone since the folder was read
    if (!S_ISDIR(st.st_mode)) {
        // Replaced by something else since the folder was read.
        VisitOther(parentFd, name, DT_UNKNOWN, st.st_ino);
        return;
    }
    FinishFolder(parentFd, name, fd.Release(), st);
}

void Walker::FinishFolder(int parentFd, const char* name, int rawFd, const struct stat& st)
{
    FdGuard fd(rawFd);
    if (st.st_dev != fDevice || Skipped(st))
        return;
    WalkEntry entry;
    entry.path = &fPath;
    entry.name = name;
    entry.kind = WalkNodeKind::Directory;
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    ReadAttribute(parentFd, name, fd.Get(), entry);
    fVisitor.VisitEntry(entry);
    if (fd.Get() >= 0)
        WalkFolder(fd.Release(), name, st.st_size);
}

void Walker::VisitOther(int parentFd, const char* name, unsigned char type, ino_t inode)
{
    WalkEntry entry;
    entry.path = &fPath;
    entry.name = name;
    entry.device = fDevice;
    entry.inode = inode;
    struct stat st;
    if (type == DT_UNKNOWN || fOptions.sizes == WalkSizes::Measure) {
        if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        if (S_ISDIR(st.st_mode)) {
            FdGuard fd(openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            FinishFolder(parentFd, name, fd.Release(), st);
            return;
        }
        if (st.st_dev != fDevice)
            return;
        entry.inode = st.st_ino;
        entry.kind = KindOfMode(st.st_mode);
        entry.size = fOptions.sizes == WalkSizes::Measure ? st.st_size : 0;
    } else {
        entry.kind = type == DT_REG ? WalkNodeKind::File
            : type == DT_LNK        ? WalkNodeKind::SymLink
                                    : WalkNodeKind::Other;
    }
    if (entry.kind == WalkNodeKind::File)
        ReadAttribute(parentFd, name, -1, entry);
    else if (!fXattrName.empty() && fStoreInodes.count(uint64(entry.inode)) != 0)
        ReadFromStore(entry); // the kernel keeps no user attributes on these
    fVisitor.VisitEntry(entry);
}

bool Walker::Skipped(const struct stat& st) const
{
    return std::find(fOptions.skipFolders.begin(), fOptions.skipFolders.end(),
               std::make_pair(st.st_dev, st.st_ino))
        != fOptions.skipFolders.end();
}

// The raw extended attribute into fBuffer: its length, or -1 with errno.
ssize_t Walker::ReadXattr(int parentFd, const char* name, int fd)
{
    char* buffer = fBuffer.data();
    size_t size = fBuffer.size();
    if (fd >= 0)
        return fgetxattr(fd, fXattrName.c_str(), buffer, size);
    if (gGetXattrAtWorks.load(std::memory_order_relaxed)) {
        XattrArgs args {uint64(uintptr_t(buffer)), uint32(size), 0};
        long result = syscall(kGetXattrAt, parentFd, name, AT_SYMLINK_NOFOLLOW, fXattrName.c_str(),
            &args, sizeof args);
        if (result >= 0 || (errno != ENOSYS && errno != EPERM && errno != EINVAL))
            return ssize_t(result);
        int refusal = errno;
        ssize_t byPath = lgetxattr(fPath.c_str(), fXattrName.c_str(), buffer, size);
        // A kernel without the call, or a sandbox that refuses it: by path
        // from now on. A refusal the path form shares is the node's own.
        if (refusal != EPERM || byPath >= 0 || errno != EPERM)
            gGetXattrAtWorks.store(false, std::memory_order_relaxed);
        return byPath;
    }
    return lgetxattr(fPath.c_str(), fXattrName.c_str(), buffer, size);
}

void Walker::ReadAttribute(int parentFd, const char* name, int fd, WalkEntry& entry)
{
    if (fXattrName.empty())
        return;
    ssize_t length = ReadXattr(parentFd, name, fd);
    if (length >= 0) {
        TakeValue(size_t(length), entry);
        return;
    }
    if (errno == ERANGE)
        entry.attribute = WalkAttribute::TooLong;
    else if ((errno == ENOTSUP || errno == EOPNOTSUPP || errno == EPERM)
        && fStoreInodes.count(uint64(entry.inode)) != 0)
        ReadFromStore(entry); // a file system without user attributes
}

void Walker::TakeValue(size_t length, WalkEntry& entry)
{
    std::string_view raw(fBuffer.data(), length);
    if (raw.size() < 3 || raw[0] != '\0' || raw[1] != 'S' || raw[2] != 'T') {
        // Plain text, the common case.
        entry.type = B_STRING_TYPE;
        entry.value = raw;
        entry.attribute
            = raw.size() > fOptions.maxValueSize ? WalkAttribute::TooLong : WalkAttribute::Value;
        if (entry.attribute == WalkAttribute::TooLong)
            entry.value = {};
        return;
    }
    XattrFormat::Decoded decoded = XattrFormat::Decode(fOptions.attribute, std::string(raw));
    if (decoded.spilled) {
        if (decoded.spilledSize > fOptions.maxValueSize)
            entry.attribute = WalkAttribute::TooLong;
        else
            ReadFromStore(entry);
        return;
    }
    if (decoded.data.size() > fOptions.maxValueSize) {
        entry.attribute = WalkAttribute::TooLong;
        return;
    }
    fDecoded = std::move(decoded.data);
    entry.type = decoded.type;
    entry.value = fDecoded;
    entry.attribute = WalkAttribute::Value;
}

void Walker::ReadFromStore(WalkEntry& entry)
{
    AttributeStore::NodeKey key;
    AttributeStore::Attribute attribute;
    if (AttributeStore::KeyForPath(fPath, key) != B_OK
        || AttributeStore::Find(key, fOptions.attribute, attribute) != B_OK)
        return;
    if (attribute.data.size() > fOptions.maxValueSize) {
        entry.attribute = WalkAttribute::TooLong;
        return;
    }
    fDecoded = std::move(attribute.data);
    entry.type = attribute.type;
    entry.value = fDecoded;
    entry.attribute = WalkAttribute::Value;
}

} // namespace

status_t walk_volume(const char* root, const VolumeWalkOptions& options, VolumeWalkVisitor& visitor)
{
    if (root == nullptr || *root != '/')
        return B_BAD_VALUE;
    Walker walker(options, visitor);
    return walker.Run(root);
}
