#include "TarWriter.h"

#include "FileOperations.h"
#include "PathText.h"
#include "WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <map>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr size_t kBlockSize = 512;
// "tar -cf" fills its last record of twenty blocks with zeros.
constexpr size_t kRecordSize = 20 * kBlockSize;
constexpr size_t kNameLength = 100;
constexpr size_t kPrefixLength = 155;

struct UstarHeader {
    char name[100];
    char mode[8];
    char uid[8];
    char gid[8];
    char size[12];
    char mtime[12];
    char checksum[8];
    char typeflag;
    char linkname[100];
    char magic[6];
    char version[2];
    char uname[32];
    char gname[32];
    char devmajor[8];
    char devminor[8];
    char prefix[155];
    char padding[12];
};
static_assert(sizeof(UstarHeader) == kBlockSize);

// Octal digits and a terminating zero; false when the value does not fit.
template<size_t N> bool PutOctal(char (&field)[N], uint64 value)
{
    constexpr size_t digits = N - 1;
    if (digits < 22 && value >> (3 * digits) != 0)
        return false;
    for (size_t i = digits; i-- > 0; value >>= 3)
        field[i] = char('0' + (value & 7));
    field[digits] = '\0';
    return true;
}

template<size_t N> bool PutText(char (&field)[N], const std::string& text)
{
    if (text.size() > N)
        return false;
    memcpy(field, text.data(), text.size());
    return true;
}

// Splits a long name at a "/" into ustar's prefix and name fields.
bool SplitName(const std::string& name, std::string* prefix, std::string* leaf)
{
    if (name.size() <= kNameLength) {
        prefix->clear();
        *leaf = name;
        return true;
    }
    size_t slash = name.rfind('/', std::min(kPrefixLength, name.size() - 2));
    if (slash == std::string::npos || slash == 0 || name.size() - slash - 1 > kNameLength)
        return false;
    *prefix = name.substr(0, slash);
    *leaf = name.substr(slash + 1);
    return true;
}

// One "length key=value\n" record; the length counts the whole record.
std::string PaxRecord(const std::string& key, const std::string& value)
{
    size_t body = key.size() + value.size() + 3; // space, "=", newline
    size_t length = body + 1;
    while (std::to_string(length).size() + body != length)
        length = std::to_string(length).size() + body;
    return std::to_string(length) + " " + key + "=" + value + "\n";
}

class TarOutput {
public:
    explicit TarOutput(int fd)
        : fFd(fd)
    { }

    void Skip(const struct stat& st) { fSkipped.emplace_back(st.st_dev, st.st_ino); }
    status_t Add(const std::string& path, const std::string& name);
    status_t Finish();

private:
    status_t AddFolder(const std::string& path, const std::string& name, const struct stat& st);
    status_t WriteMember(const std::string& name, const struct stat& st, char type,
        const std::string& linkTarget, uint64 size);
    status_t WriteFileData(const std::string& path, uint64 size);
    status_t Write(const void* data, size_t size);
    status_t Pad();
    std::string OwnerName(uid_t uid);
    std::string GroupName(gid_t gid);

    int fFd;
    uint64 fWritten = 0;
    std::vector<std::pair<dev_t, ino_t>> fSkipped;
    std::map<uid_t, std::string> fOwners;
    std::map<gid_t, std::string> fGroups;
};

status_t TarOutput::Add(const std::string& path, const std::string& name)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return status_from_errno(errno);
    if (std::find(fSkipped.begin(), fSkipped.end(), std::make_pair(st.st_dev, st.st_ino))
        != fSkipped.end())
        return B_OK;
    switch (st.st_mode & S_IFMT) {
    case S_IFDIR:
        return AddFolder(path, name, st);
    case S_IFREG: {
        status_t status = WriteMember(name, st, '0', {}, uint64(st.st_size));
        return status == B_OK ? WriteFileData(path, uint64(st.st_size)) : status;
    }
    case S_IFLNK: {
        std::string target(size_t(st.st_size) + 1, '\0');
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return status_from_errno(errno);
        target.resize(size_t(length));
        return WriteMember(name, st, '2', target, 0);
    }
    case S_IFIFO:
        return WriteMember(name, st, '6', {}, 0);
    case S_IFCHR:
        return WriteMember(name, st, '3', {}, 0);
    case S_IFBLK:
        return WriteMember(name, st, '4', {}, 0);
    default: // sockets live only while their program runs; tar leaves them out
        return B_OK;
    }
}

status_t TarOutput::AddFolder(
    const std::string& path, const std::string& name, const struct stat& st)
{
    std::string folderName = name.back() == '/' ? name : name + "/";
    status_t status = WriteMember(folderName, st, '5', {}, 0);
    if (status != B_OK)
        return status;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr)
        return status_from_errno(errno);
    std::vector<std::string> children;
    errno = 0;
    while (struct dirent* item = readdir(dir)) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0)
            children.emplace_back(item->d_name);
    }
    int readError = errno;
    closedir(dir);
    if (readError != 0)
        return status_from_errno(readError);
    std::sort(children.begin(), children.end());
    for (const std::string& child : children) {
        status = Add(join_path(path, child), folderName + child);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

status_t TarOutput::WriteMember(const std::string& name, const struct stat& st, char type,
    const std::string& linkTarget, uint64 size)
{
    UstarHeader header {};
    std::string records;
    std::string prefix;
    std::string leaf;
    if (!SplitName(name, &prefix, &leaf)) {
        records += PaxRecord("path", name);
        leaf = name.substr(0, kNameLength);
        prefix.clear();
    }
    PutText(header.name, leaf);
    PutText(header.prefix, prefix);
    if (!PutText(header.linkname, linkTarget))
        records += PaxRecord("linkpath", linkTarget);
    PutOctal(header.mode, st.st_mode & 07777);
    if (!PutOctal(header.uid, st.st_uid))
        records += PaxRecord("uid", std::to_string(st.st_uid));
    if (!PutOctal(header.gid, st.st_gid))
        records += PaxRecord("gid", std::to_string(st.st_gid));
    if (!PutOctal(header.size, size))
        records += PaxRecord("size", std::to_string(size));
    if (st.st_mtime < 0 || !PutOctal(header.mtime, uint64(st.st_mtime))) {
        records += PaxRecord("mtime", std::to_string(int64(st.st_mtime)));
        PutOctal(header.mtime, 0);
    }
    std::string owner = OwnerName(st.st_uid);
    if (!PutText(header.uname, owner))
        records += PaxRecord("uname", owner);
    std::string group = GroupName(st.st_gid);
    if (!PutText(header.gname, group))
        records += PaxRecord("gname", group);
    header.typeflag = type;
    memcpy(header.magic, "ustar", 6);
    memcpy(header.version, "00", 2);
    if (type == '3' || type == '4') {
        PutOctal(header.devmajor, major(st.st_rdev));
        PutOctal(header.devminor, minor(st.st_rdev));
    }

    // The extended header's own header never needs one: its name and
    // numbers are short, and what does not fit is cut.
    if (!records.empty() && type != 'x') {
        struct stat paxStat = st;
        paxStat.st_mode = S_IFREG | 0644;
        std::string paxName = "PaxHeaders/" + leaf_name(name).substr(0, kNameLength - 11);
        status_t status = WriteMember(paxName, paxStat, 'x', {}, records.size());
        if (status == B_OK)
            status = Write(records.data(), records.size());
        if (status == B_OK)
            status = Pad();
        if (status != B_OK)
            return status;
    }

    memset(header.checksum, ' ', sizeof header.checksum);
    unsigned int sum = 0;
    for (unsigned char byte : std::string_view(reinterpret_cast<const char*>(&header), kBlockSize))
        sum += byte;
    snprintf(header.checksum, sizeof header.checksum, "%06o", sum & 0777777);
    header.checksum[7] = ' ';
    return Write(&header, sizeof header);
}

status_t TarOutput::WriteFileData(const std::string& path, uint64 size)
{
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return status_from_errno(errno);
    std::vector<char> buffer(64 * 1024);
    uint64 left = size;
    status_t status = B_OK;
    while (left > 0 && status == B_OK) {
        ssize_t got = read(fd, buffer.data(), size_t(std::min<uint64>(left, buffer.size())));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            status = status_from_errno(errno);
            break;
        }
        // A file that shrank while being read is filled up with zeros, so
        // that the member still holds the size its header declares.
        if (got == 0) {
            std::fill(buffer.begin(), buffer.end(), '\0');
            got = ssize_t(std::min<uint64>(left, buffer.size()));
        }
        status = Write(buffer.data(), size_t(got));
        left -= uint64(got);
    }
    close(fd);
    return status == B_OK ? Pad() : status;
}

status_t TarOutput::Write(const void* data, size_t size)
{
    size_t written = 0;
    status_t status = write_all(fFd, data, size, &written);
    fWritten += uint64(written);
    return status;
}

status_t TarOutput::Pad()
{
    static const char kZeros[kBlockSize] = {};
    size_t partial = size_t(fWritten % kBlockSize);
    return partial == 0 ? B_OK : Write(kZeros, kBlockSize - partial);
}

status_t TarOutput::Finish()
{
    static const char kZeros[kBlockSize] = {};
    for (int i = 0; i < 2; ++i) {
        status_t status = Write(kZeros, kBlockSize);
        if (status != B_OK)
            return status;
    }
    while (fWritten % kRecordSize != 0) {
        status_t status = Write(kZeros, kBlockSize);
        if (status != B_OK)
            return status;
    }
    return fsync(fFd) == 0 ? B_OK : status_from_errno(errno);
}

std::string TarOutput::OwnerName(uid_t uid)
{
    auto found = fOwners.find(uid);
    if (found != fOwners.end())
        return found->second;
    std::string name;
    std::vector<char> buffer(4096);
    struct passwd entry;
    struct passwd* result = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr)
        name = entry.pw_name;
    return fOwners[uid] = name;
}

std::string TarOutput::GroupName(gid_t gid)
{
    auto found = fGroups.find(gid);
    if (found != fGroups.end())
        return found->second;
    std::string name;
    std::vector<char> buffer(4096);
    struct group entry;
    struct group* result = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr)
        name = entry.gr_name;
    return fGroups[gid] = name;
}

} // namespace

std::string tar_member_name(const std::string& input)
{
    std::string name = input;
    for (;;) {
        size_t before = name.size();
        while (!name.empty() && name.front() == '/')
            name.erase(0, 1);
        if (name == "..")
            name.clear();
        else if (name.compare(0, 3, "../") == 0)
            name.erase(0, 3);
        if (name.size() == before)
            break;
    }
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return name.empty() ? "." : name;
}

status_t write_tar_archive(const char* archivePath, const char* baseFolder, const char* input)
{
    if (archivePath == nullptr || *archivePath == '\0' || input == nullptr || *input == '\0')
        return B_BAD_VALUE;
    std::string source = input;
    if (source.front() != '/')
        source = join_path(baseFolder != nullptr && *baseFolder != '\0' ? baseFolder : ".", source);
    struct stat sourceStat;
    if (lstat(source.c_str(), &sourceStat) != 0)
        return status_from_errno(errno);

    int fd = -1;
    std::string tempPath;
    status_t status = create_beside(
        archivePath,
        [&fd](const std::string& candidate) {
            fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return fd < 0 ? errno : 0;
        },
        &tempPath);
    if (status != B_OK)
        return status;

    TarOutput output(fd);
    struct stat st;
    if (fstat(fd, &st) == 0)
        output.Skip(st);
    if (stat(archivePath, &st) == 0)
        output.Skip(st);
    status = output.Add(source, tar_member_name(input));
    if (status == B_OK)
        status = output.Finish();
    if (close(fd) != 0 && status == B_OK)
        status = status_from_errno(errno);
    if (status == B_OK && rename(tempPath.c_str(), archivePath) != 0)
        status = status_from_errno(errno);
    if (status != B_OK)
        unlink(tempPath.c_str());
    return status;
}
