#include "ZipWriter.h"

#include "ZipEndRecords.h"
#include "ZipExtraFields.h"
#include "ZipFileRange.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <minizip/zip.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace {

// "Version made by": Unix (3), zip format 3.0. Unix, not BeOS (16), because
// it is the creator system that every Linux unzip tool reads modes and
// links from.
constexpr unsigned kHostUnix = 3;
constexpr uLong kVersionMadeBy = (kHostUnix << 8) | 30;
constexpr uLong kDosDirectory = 0x10;
constexpr uLong kDosReadOnly = 0x01;
// Members this large get Zip64 sizes; below 4 GiB with room for deflate's
// worst-case growth.
constexpr uint64 kLargeMember = 0xF0000000ull;

zipFile Archive(void* archive)
{
    return static_cast<zipFile>(archive);
}

// Why minizip refused a call, for people.
std::string MinizipReason(int result, int ioError)
{
    if (ioError != 0)
        return strerror(ioError);
    switch (result) {
    case ZIP_ERRNO:
        return "an input or output error";
    case ZIP_PARAMERROR:
        return "minizip refused the member's header";
    case ZIP_BADZIPFILE:
        return "a size does not fit the member's header";
    case ZIP_INTERNALERROR:
        return "compressing failed";
    default:
        return "minizip error " + std::to_string(result);
    }
}

std::string LeafName(const char* itemPath)
{
    std::string path = itemPath;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string leaf = path.substr(path.rfind('/') + 1);
    if (leaf == "." || leaf == ".." || leaf.empty()) {
        char* resolved = realpath(itemPath, nullptr);
        if (resolved == nullptr)
            return {};
        std::string full = resolved;
        free(resolved);
        leaf = full.substr(full.rfind('/') + 1);
    }
    return leaf;
}

std::string FolderOf(const char* path)
{
    std::string text = path;
    size_t slash = text.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : text.substr(0, slash);
}

} // namespace

struct ZipWriter::Node {
    mode_t mode = 0;
    uid_t user = 0;
    gid_t group = 0;
    uint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;
    ZipExtraFields::Times times;

    // `fd` with an empty path, or a path; links are not followed.
    status_t Read(int fd, const char* path)
    {
        struct statx info;
        int flags = path[0] == '\0' ? AT_EMPTY_PATH : AT_SYMLINK_NOFOLLOW;
        if (statx(fd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
            return status_from_errno(errno);
        mode = info.stx_mode;
        user = info.stx_uid;
        group = info.stx_gid;
        size = info.stx_size;
        device = makedev(info.stx_dev_major, info.stx_dev_minor);
        inode = info.stx_ino;
        times.hasModified = times.hasAccessed = true;
        times.modified = info.stx_mtime.tv_sec;
        times.accessed = info.stx_atime.tv_sec;
        times.hasCreated = (info.stx_mask & STATX_BTIME) != 0;
        times.created = info.stx_btime.tv_sec;
        return B_OK;
    }
};

ZipWriter::ZipWriter(ZipWriteOptions options)
    : fOptions(std::move(options))
{ }

ZipWriter::~ZipWriter()
{
    delete[] fBuffer;
}

status_t ZipWriter::Write(const char* itemPath, const char* archivePath)
{
    fError.clear();
    fDone = 0;
    if (fOptions.level < 0 || fOptions.level > 9)
        return Fail(B_BAD_VALUE, "the compression level must lie between 0 and 9");
    std::string leaf = LeafName(itemPath);
    if (leaf.empty())
        return Fail(B_BAD_VALUE, std::string("cannot name the item ") + itemPath);
    Node item;
    status_t status = item.Read(AT_FDCWD, itemPath);
    std::string source = itemPath;
    if (status == B_OK && S_ISLNK(item.mode)) {
        char* resolved = realpath(itemPath, nullptr);
        status = resolved != nullptr ? B_OK : status_from_errno(errno);
        if (resolved != nullptr) {
            source = resolved;
            free(resolved);
            status = item.Read(AT_FDCWD, source.c_str());
        }
    }
    if (status != B_OK)
        return Fail(status, std::string("cannot read ") + itemPath);
    if (fBuffer == nullptr)
        fBuffer = new char[kChunkSize];

    std::string temporary = FolderOf(archivePath) + "/.stowzip-XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(status_from_errno(errno), std::string("cannot create ") + temporary);
    Node skip;
    skip.Read(fd, "");
    fSkipDevice[0] = skip.device;
    fSkipInode[0] = skip.inode;
    Node existing;
    if (existing.Read(AT_FDCWD, archivePath) == B_OK) {
        fSkipDevice[1] = existing.device;
        fSkipInode[1] = existing.inode;
    }

    ZipFileRange range;
    range.fd = fd;
    range.writable = true;
    fRange = &range;
    fEntries = 0;
    zlib_filefunc64_def functions = ZipFileRange::Functions();
    fArchive = zipOpen2_64(&range, APPEND_STATUS_CREATE, nullptr, &functions);
    if (fArchive == nullptr)
        status = Fail(B_NO_MEMORY, "cannot start the archive");
    else
        status = Add(source, leaf, item);
    if (fArchive != nullptr) {
        int closed = zipClose(Archive(fArchive), nullptr);
        fArchive = nullptr;
        if (status == B_OK && closed != ZIP_OK)
            status = Fail(range.error != 0 ? status_from_errno(range.error) : B_IO_ERROR,
                std::string("cannot write ") + archivePath + ": "
                    + MinizipReason(closed, range.error));
    }
    fRange = nullptr;
    std::string why;
    if (status == B_OK && !ZipEndRecords::Finish(fd, range.length, fEntries, kHostUnix, why))
        status = Fail(B_IO_ERROR, std::string("cannot finish ") + archivePath + ": " + why);
    if (status == B_OK && (fchmod(fd, 0644) != 0 || fsync(fd) != 0))
        status = Fail(status_from_errno(errno), std::string("cannot write ") + archivePath);
    if (close(fd) != 0 && status == B_OK)
        status = Fail(status_from_errno(errno), std::string("cannot write ") + archivePath);
    if (status == B_OK && rename(temporary.c_str(), archivePath) != 0)
        status = Fail(status_from_errno(errno), std::string("cannot create ") + archivePath);
    if (status != B_OK)
        unlink(temporary.c_str());
    return status;
}

bool ZipWriter::Skipped(const Node& node) const
{
    for (int i = 0; i < 2; ++i) {
        if (fSkipInode[i] != 0 && node.device == fSkipDevice[i] && node.inode == fSkipInode[i])
            return true;
    }
    return false;
}

status_t ZipWriter::Add(const std::string& path, const std::string& name, const Node& node)
{
    if (fOptions.shouldStop && fOptions.shouldStop())
        return Fail(B_CANCELED, "stopped");
    if (S_ISDIR(node.mode))
        return AddFolder(path, name, node);
    if (S_ISREG(node.mode))
        return AddFile(path, name);
    if (S_ISLNK(node.mode))
        return AddLink(path, name, node);
    return Fail(
        B_UNSUPPORTED, "cannot archive " + path + ": it is neither a file, a folder nor a link");
}

status_t ZipWriter::AddFolder(const std::string& path, const std::string& name, const Node& node)
{
    status_t status = OpenEntry(path, name + "/", node, false);
    if (status == B_OK)
        status = CloseEntry(name);
    if (status != B_OK)
        return status;
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr)
        return Fail(status_from_errno(errno), "cannot read the folder " + path);
    std::vector<std::string> children;
    errno = 0;
    while (dirent* entry = readdir(folder)) {
        std::string child = entry->d_name;
        if (child != "." && child != "..")
            children.push_back(child);
    }
    int error = errno;
    closedir(folder);
    if (error != 0)
        return Fail(status_from_errno(error), "cannot read the folder " + path);
    std::sort(children.begin(), children.end());
    for (const std::string& child : children) {
        std::string childPath = path + "/" + child;
        Node childNode;
        status = childNode.Read(AT_FDCWD, childPath.c_str());
        if (status != B_OK)
            return Fail(status, "cannot read " + childPath);
        if (Skipped(childNode))
            continue;
        status = Add(childPath, name + "/" + child, childNode);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

status_t ZipWriter::AddFile(const std::string& path, const std::string& name)
{
    // Archiving should not count as reading: keep access times where the
    // file's owner allows it.
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Fail(status_from_errno(errno), "cannot open " + path);
    Node node;
    status_t status = node.Read(fd, "");
    if (status != B_OK)
        status = Fail(status, "cannot read " + path);
    if (status == B_OK)
        status = OpenEntry(path, name, node, node.size >= kLargeMember);
    uint64 total = 0;
    while (status == B_OK) {
        if (fOptions.shouldStop && fOptions.shouldStop()) {
            status = Fail(B_CANCELED, "stopped");
            break;
        }
        ssize_t got = read(fd, fBuffer, kChunkSize);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            status = Fail(status_from_errno(errno), "cannot read " + path);
            break;
        }
        if (got == 0)
            break;
        total += uint64(got);
        if (total > node.size) {
            status = Fail(B_BAD_DATA, path + " changed while it was being archived");
            break;
        }
        int result = zipWriteInFileInZip(Archive(fArchive), fBuffer, unsigned(got));
        if (result != ZIP_OK) {
            status = Fail(B_IO_ERROR, "cannot write the archive: " + Reason(result));
            break;
        }
        fDone += uint64(got);
        if (fOptions.progress)
            fOptions.progress(fDone);
    }
    close(fd);
    if (status == B_OK && total != node.size)
        status = Fail(B_BAD_DATA, path + " changed while it was being archived");
    if (status == B_OK)
        status = CloseEntry(name);
    return status;
}

status_t ZipWriter::AddLink(const std::string& path, const std::string& name, const Node& node)
{
    std::vector<char> target(node.size + 1);
    ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0)
        return Fail(status_from_errno(errno), "cannot read the link " + path);
    if (size_t(length) >= target.size())
        return Fail(B_BAD_DATA, path + " changed while it was being archived");
    status_t status = OpenEntry(path, name, node, false);
    int result = status == B_OK
        ? zipWriteInFileInZip(Archive(fArchive), target.data(), unsigned(length))
        : ZIP_OK;
    if (result != ZIP_OK)
        status = Fail(B_IO_ERROR, "cannot write the archive: " + Reason(result));
    if (status == B_OK)
        status = CloseEntry(name);
    return status;
}

status_t ZipWriter::OpenEntry(
    const std::string& path, const std::string& name, const Node& node, bool large)
{
    ZipExtraFields::Blocks extra;
    ZipExtraFields::AddTimeStamp(extra, node.times);
    ZipExtraFields::AddUnixOwner(extra, node.user, node.group);
    if (fOptions.attributes != nullptr) {
        ZipAttributeList attributes;
        status_t status = fOptions.attributes->ReadAttributes(path.c_str(), attributes);
        if (status != B_OK)
            return Fail(status, "cannot read the attributes of " + path);
        ZipExtraFields::AddAttributes(extra, attributes);
    }
    if (extra.local.size() + ZipExtraFields::kZip64Reserve > 0xffff)
        return Fail(B_BAD_VALUE, "the attributes of " + path + " are too large for a zip archive");
    if (name.size() > 0xffff)
        return Fail(B_NAME_TOO_LONG, "the path " + path + " is too long for a zip archive");

    zip_fileinfo info = {};
    time_t modified = time_t(node.times.modified);
    struct tm local;
    localtime_r(&modified, &local);
    int year = std::clamp(local.tm_year + 1900, 1980, 2107);
    info.tmz_date.tm_year = uInt(year);
    info.tmz_date.tm_mon = uInt(local.tm_mon);
    info.tmz_date.tm_mday = uInt(local.tm_mday);
    info.tmz_date.tm_hour = uInt(local.tm_hour);
    info.tmz_date.tm_min = uInt(local.tm_min);
    info.tmz_date.tm_sec = uInt(local.tm_sec);
    info.external_fa = (uLong(node.mode & 0xffff) << 16) | (S_ISDIR(node.mode) ? kDosDirectory : 0)
        | ((node.mode & S_IWUSR) == 0 ? kDosReadOnly : 0);

    bool store = fOptions.level == 0 || S_ISDIR(node.mode);
    int result = zipOpenNewFileInZip4_64(Archive(fArchive), name.c_str(), &info, extra.local.data(),
        uInt(extra.local.size()), extra.central.data(), uInt(extra.central.size()), nullptr,
        store ? 0 : Z_DEFLATED, store ? 0 : fOptions.level, 0, -MAX_WBITS, DEF_MEM_LEVEL,
        Z_DEFAULT_STRATEGY, nullptr, 0, kVersionMadeBy, 0, large ? 1 : 0);
    if (result != ZIP_OK)
        return Fail(B_IO_ERROR, "cannot add " + name + " to the archive: " + Reason(result));
    ++fEntries;
    return B_OK;
}

status_t ZipWriter::CloseEntry(const std::string& name)
{
    int result = zipCloseFileInZip(Archive(fArchive));
    if (result != ZIP_OK)
        return Fail(B_IO_ERROR, "cannot add " + name + " to the archive: " + Reason(result));
    return B_OK;
}

std::string ZipWriter::Reason(int result) const
{
    return MinizipReason(result, fRange != nullptr ? fRange->error : 0);
}

status_t ZipWriter::Fail(status_t status, const std::string& message)
{
    if (fError.empty())
        fError = message;
    return status;
}
