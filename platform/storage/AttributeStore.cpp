#include "AttributeStore.h"

#include "FindDirectory.h"
#include "WriteAll.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace AttributeStore {

namespace {

constexpr char kMagic[8] = {'S', 'T', 'O', 'W', 'A', 'T', 'R', '1'};
constexpr size_t kHeaderSize = 56;
constexpr uint32 kMaxNameLength = 1024;
constexpr uint32 kMaxPathLength = 4096;

struct Record {
    NodeKey key;
    std::string path;
    std::vector<Attribute> attributes;
};

// Little-endian writer and bounds-checked reader of the record layout.
void Put32(std::string& out, uint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char(value >> (8 * i)));
}

void Put64(std::string& out, uint64 value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(char(value >> (8 * i)));
}

class Reader {
public:
    explicit Reader(const std::string& bytes)
        : fBytes(bytes)
    { }
    bool Has(uint64 count) const { return count <= fBytes.size() - fAt; }
    uint64 Get(int bytes)
    {
        uint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint64(uint8(fBytes[fAt + i])) << (8 * i);
        fAt += bytes;
        return value;
    }
    std::string Take(uint64 count)
    {
        std::string result = fBytes.substr(fAt, count);
        fAt += count;
        return result;
    }
    bool AtEnd() const { return fAt == fBytes.size(); }

private:
    const std::string& fBytes;
    size_t fAt = 0;
};

std::string Serialize(const Record& record)
{
    std::string out(kMagic, sizeof kMagic);
    Put64(out, record.key.device);
    Put64(out, record.key.inode);
    Put64(out, uint64(record.key.stampSeconds));
    Put32(out, record.key.stampNanoseconds);
    Put32(out, record.key.flags);
    Put32(out, record.key.fileType);
    Put64(out, record.key.contentHint);
    Put32(out, uint32(record.path.size()));
    out += record.path;
    Put32(out, uint32(record.attributes.size()));
    for (const Attribute& attribute : record.attributes) {
        Put32(out, uint32(attribute.name.size()));
        Put32(out, attribute.type);
        Put64(out, attribute.data.size());
        out += attribute.name;
        out += attribute.data;
    }
    return out;
}

bool Parse(const std::string& bytes, Record& record)
{
    Reader in(bytes);
    if (!in.Has(kHeaderSize) || memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return false;
    in.Take(sizeof kMagic);
    record.key.device = in.Get(8);
    record.key.inode = in.Get(8);
    record.key.stampSeconds = int64(in.Get(8));
    record.key.stampNanoseconds = uint32(in.Get(4));
    record.key.flags = uint32(in.Get(4));
    record.key.fileType = uint32(in.Get(4));
    record.key.contentHint = in.Get(8);
    uint32 pathLength = uint32(in.Get(4));
    if (pathLength > kMaxPathLength || !in.Has(pathLength + 4ull))
        return false;
    record.path = in.Take(pathLength);
    uint32 count = uint32(in.Get(4));
    if (count > kMaxAttributes)
        return false;
    for (uint32 i = 0; i < count; ++i) {
        if (!in.Has(16))
            return false;
        Attribute attribute;
        uint32 nameLength = uint32(in.Get(4));
        attribute.type = type_code(in.Get(4));
        uint64 size = in.Get(8);
        if (nameLength == 0 || nameLength > kMaxNameLength || size > kMaxAttributeSize
            || !in.Has(nameLength + size))
            return false;
        attribute.name = in.Take(nameLength);
        attribute.data = in.Take(size);
        record.attributes.push_back(std::move(attribute));
    }
    return in.AtEnd();
}

std::string Hex(uint64 value)
{
    char text[20];
    snprintf(text, sizeof text, "%" PRIx64, value);
    return text;
}

std::string VolumeFolder(uint64 device)
{
    return Folder() + "/" + Hex(device);
}

std::string RecordPath(const NodeKey& key)
{
    return VolumeFolder(key.device) + "/" + Hex(key.inode);
}

status_t MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return status_from_errno(errno);
        if (slash == std::string::npos)
            return B_OK;
    }
}

// Reads a whole record file; B_ENTRY_NOT_FOUND when there is none.
status_t ReadFileBytes(const std::string& path, std::string& bytes)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return status_from_errno(errno);
    struct stat st;
    status_t status = B_OK;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        status = B_BAD_DATA;
    else if (uint64(st.st_size) > kMaxAttributes * 16ull + kMaxAttributeSize * 4)
        status = B_BAD_DATA;
    if (status == B_OK) {
        bytes.resize(size_t(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += size_t(got);
        }
        bytes.resize(done);
    }
    close(fd);
    return status;
}

// The node's record, or an empty one when there is none or it is stale.
status_t Load(const NodeKey& key, Record& record)
{
    record = Record();
    record.key = key;
    std::string bytes;
    status_t status = ReadFileBytes(RecordPath(key), bytes);
    if (status == B_ENTRY_NOT_FOUND)
        return B_OK;
    if (status != B_OK)
        return status;
    Record found;
    if (Parse(bytes, found) && found.key == key)
        record = std::move(found);
    return B_OK;
}

// Writes the record beside its place and renames it there, so a reader in
// another process sees either the old record or the new one.
status_t Store(const Record& record)
{
    std::string target = RecordPath(record.key);
    if (record.attributes.empty()) {
        if (unlink(target.c_str()) != 0 && errno != ENOENT)
            return status_from_errno(errno);
        return B_OK;
    }
    std::string temporary = VolumeFolder(record.key.device) + "/." + Hex(record.key.inode) + "."
        + std::to_string(getpid()) + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return status_from_errno(errno);
    std::string bytes = Serialize(record);
    status_t status = write_all(fd, bytes.data(), bytes.size());
    if (close(fd) != 0 && status == B_OK)
        status = status_from_errno(errno);
    if (status == B_OK && rename(temporary.c_str(), target.c_str()) != 0)
        status = status_from_errno(errno);
    if (status != B_OK)
        unlink(temporary.c_str());
    return status;
}

// Serializes read-modify-write cycles of every process on one volume's
// records.
class VolumeLock {
public:
    explicit VolumeLock(uint64 device)
    {
        fStatus = MakeFolders(VolumeFolder(device));
        if (fStatus != B_OK)
            return;
        std::string path = VolumeFolder(device) + "/.lock";
        fFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fFd < 0 || flock(fFd, LOCK_EX) != 0)
            fStatus = status_from_errno(errno);
    }
    ~VolumeLock()
    {
        if (fFd >= 0)
            close(fFd);
    }
    VolumeLock(const VolumeLock&) = delete;
    VolumeLock& operator=(const VolumeLock&) = delete;
    status_t Status() const { return fStatus; }

private:
    int fFd = -1;
    status_t fStatus = B_OK;
};

status_t KeyFromStatx(const struct statx& st, NodeKey& key)
{
    key = NodeKey();
    key.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    key.inode = st.stx_ino;
    key.fileType = st.stx_mode & S_IFMT;
    if (st.stx_mask & STATX_BTIME) {
        key.stampSeconds = st.stx_btime.tv_sec;
        key.stampNanoseconds = st.stx_btime.tv_nsec;
        key.flags = kStampIsBirthTime;
    } else {
        key.stampSeconds = st.stx_mtime.tv_sec;
        key.stampNanoseconds = st.stx_mtime.tv_nsec;
    }
    return B_OK;
}

// FNV-1a, 64 bits.
uint64 Hash(const char* bytes, size_t length)
{
    uint64 hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ uint8(bytes[i])) * 0x100000001b3ull;
    return hash;
}

} // namespace

status_t KeyForPath(const std::string& path, NodeKey& key)
{
    struct statx st;
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st)
        != 0)
        return status_from_errno(errno);
    KeyFromStatx(st, key);
    if (S_ISLNK(st.stx_mode)) {
        char target[4096];
        ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0)
            return status_from_errno(errno);
        key.contentHint = Hash(target, size_t(length));
    }
    return B_OK;
}

status_t KeyForDescriptor(int fd, NodeKey& key)
{
    struct statx st;
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return status_from_errno(errno);
    return KeyFromStatx(st, key);
}

std::string Folder()
{
    return standard_base_folder(FolderBase::DataHome) + "/Stowfast/attributes";
}

status_t ReadAll(const NodeKey& key, std::vector<Attribute>& attributes)
{
    Record record;
    status_t status = Load(key, record);
    attributes = std::move(record.attributes);
    return status;
}

status_t Find(const NodeKey& key, const std::string& name, Attribute& attribute)
{
    Record record;
    status_t status = Load(key, record);
    if (status != B_OK)
        return status;
    for (Attribute& candidate : record.attributes) {
        if (candidate.name == name) {
            attribute = std::move(candidate);
            return B_OK;
        }
    }
    return B_ENTRY_NOT_FOUND;
}

status_t Put(const NodeKey& key, const std::string& path, const Attribute& attribute)
{
    if (attribute.name.empty() || attribute.name.size() > kMaxNameLength
        || attribute.data.size() > kMaxAttributeSize)
        return B_BAD_VALUE;
    VolumeLock lock(key.device);
    if (lock.Status() != B_OK)
        return lock.Status();
    Record record;
    status_t status = Load(key, record);
    if (status != B_OK)
        return status;
    record.path = path.size() <= kMaxPathLength ? path : std::string();
    for (Attribute& existing : record.attributes) {
        if (existing.name == attribute.name) {
            existing = attribute;
            return Store(record);
        }
    }
    if (record.attributes.size() >= kMaxAttributes)
        return B_DEVICE_FULL;
    record.attributes.push_back(attribute);
    return Store(record);
}

status_t Remove(const NodeKey& key, const std::string& name)
{
    VolumeLock lock(key.device);
    if (lock.Status() != B_OK)
        return lock.Status();
    Record record;
    status_t status = Load(key, record);
    if (status != B_OK)
        return status;
    for (size_t i = 0; i < record.attributes.size(); ++i) {
        if (record.attributes[i].name == name) {
            record.attributes.erase(record.attributes.begin() + long(i));
            return Store(record);
        }
    }
    return B_ENTRY_NOT_FOUND;
}

status_t ListVolume(uint64 device, std::vector<RecordSummary>& records)
{
    records.clear();
    DIR* folder = opendir(VolumeFolder(device).c_str());
    if (folder == nullptr)
        return errno == ENOENT ? B_OK : status_from_errno(errno);
    while (struct dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        std::string bytes;
        Record record;
        if (ReadFileBytes(VolumeFolder(device) + "/" + entry->d_name, bytes) != B_OK
            || !Parse(bytes, record) || record.key.device != device)
            continue;
        // A record whose node is gone, replaced or moved away is left out.
        NodeKey current;
        if (KeyForPath(record.path, current) != B_OK || !(current == record.key))
            continue;
        RecordSummary summary {record.key, record.path, {}};
        for (const Attribute& attribute : record.attributes)
            summary.names.push_back(attribute.name);
        records.push_back(std::move(summary));
    }
    closedir(folder);
    return B_OK;
}

status_t ListInodes(uint64 device, std::vector<uint64>& inodes)
{
    inodes.clear();
    DIR* folder = opendir(VolumeFolder(device).c_str());
    if (folder == nullptr)
        return errno == ENOENT ? B_OK : status_from_errno(errno);
    while (struct dirent* entry = readdir(folder)) {
        // Record files are named by the inode in hexadecimal; the lock and
        // files being written start with a dot.
        char* end = nullptr;
        errno = 0;
        unsigned long long inode = strtoull(entry->d_name, &end, 16);
        if (entry->d_name[0] != '.' && end != entry->d_name && *end == '\0' && errno == 0)
            inodes.push_back(inode);
    }
    closedir(folder);
    return B_OK;
}

} // namespace AttributeStore
