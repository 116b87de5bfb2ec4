#include "WalkAttributeReader.h"

#include "AttributeStore.h"
#include "XattrFormat.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

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

} // namespace

WalkAttributeReader::WalkAttributeReader(
    const VolumeWalkOptions& options, const std::unordered_set<uint64>& storeInodes)
    : fOptions(options)
    , fStoreInodes(storeInodes)
    , fXattrName(options.attribute.empty() ? "" : XattrFormat::XattrName(options.attribute))
    // Typed values carry an 8-byte prefix before the data.
    , fBuffer(options.maxValueSize + 9, '\0')
{ }

void WalkAttributeReader::Read(
    int parentFd, const char* name, int fd, const std::string& path, WalkEntry& entry)
{
    if (!Enabled())
        return;
    ssize_t length = ReadXattr(parentFd, name, fd, path);
    if (length >= 0) {
        TakeValue(size_t(length), path, entry);
        return;
    }
    if (errno == ERANGE)
        entry.attribute = WalkAttribute::TooLong;
    else if (errno == ENOTSUP || errno == EOPNOTSUPP || errno == EPERM)
        ReadKept(path, entry); // a file system without user attributes
}

void WalkAttributeReader::ReadKept(const std::string& path, WalkEntry& entry)
{
    if (Enabled() && fStoreInodes.count(uint64(entry.inode)) != 0)
        ReadFromStore(path, entry);
}

// The raw extended attribute into fBuffer: its length, or -1 with errno.
ssize_t WalkAttributeReader::ReadXattr(
    int parentFd, const char* name, int fd, const std::string& path)
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
        ssize_t byPath = lgetxattr(path.c_str(), fXattrName.c_str(), buffer, size);
        // A kernel without the call, or a sandbox that refuses it: by path
        // from now on. A refusal the path form shares is the node's own.
        if (refusal != EPERM || byPath >= 0 || errno != EPERM)
            gGetXattrAtWorks.store(false, std::memory_order_relaxed);
        return byPath;
    }
    return lgetxattr(path.c_str(), fXattrName.c_str(), buffer, size);
}

void WalkAttributeReader::TakeValue(size_t length, const std::string& path, WalkEntry& entry)
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
            ReadFromStore(path, entry);
        return;
    }
    Keep(decoded.type, std::move(decoded.data), entry);
}

void WalkAttributeReader::ReadFromStore(const std::string& path, WalkEntry& entry)
{
    AttributeStore::NodeKey key;
    AttributeStore::Attribute attribute;
    if (AttributeStore::KeyForPath(path, key) != B_OK
        || AttributeStore::Find(key, fOptions.attribute, attribute) != B_OK)
        return;
    Keep(attribute.type, std::move(attribute.data), entry);
}

void WalkAttributeReader::Keep(type_code type, std::string data, WalkEntry& entry)
{
    if (data.size() > fOptions.maxValueSize) {
        entry.attribute = WalkAttribute::TooLong;
        return;
    }
    fDecoded = std::move(data);
    entry.type = type;
    entry.value = fDecoded;
    entry.attribute = WalkAttribute::Value;
}
