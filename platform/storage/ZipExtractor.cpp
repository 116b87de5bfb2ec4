#include "ZipExtractor.h"

#include "WriteAll.h"
#include "ZipNames.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string LeafOf(const std::string& name)
{
    return name.substr(name.rfind('/') + 1);
}

std::string TemporaryName()
{
    static std::atomic<unsigned> counter {0};
    return ".stowzip-part-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Renames within one folder, never replacing what is already there.
int RenameNoReplace(int folder, const std::string& from, const std::string& to)
{
    if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return -1;
    struct stat info;
    if (fstatat(folder, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return renameat(folder, from.c_str(), folder, to.c_str());
}

struct timespec ToTimespec(int64 seconds)
{
    struct timespec time = {};
    time.tv_sec = time_t(seconds);
    return time;
}

void SetTimes(const ZipExtraFields::Times& times, struct timespec result[2])
{
    result[0] = ToTimespec(times.hasAccessed ? times.accessed : times.modified);
    result[1] = ToTimespec(times.modified);
}

// Removes `name` in `folder` with everything in it, following no link.
void RemoveTree(int folder, const std::string& name)
{
    struct stat info;
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (!S_ISDIR(info.st_mode)) {
        unlinkat(folder, name.c_str(), 0);
        return;
    }
    int fd = openat(folder, name.c_str(), kOpenFolder);
    if (fd >= 0) {
        fchmod(fd, 0700);
        if (DIR* listing = fdopendir(fd)) {
            std::vector<std::string> children;
            while (dirent* entry = readdir(listing)) {
                std::string child = entry->d_name;
                if (child != "." && child != "..")
                    children.push_back(child);
            }
            for (const std::string& child : children)
                RemoveTree(dirfd(listing), child);
            closedir(listing);
        } else {
            close(fd);
        }
    }
    unlinkat(folder, name.c_str(), AT_REMOVEDIR);
}

} // namespace

ZipExtractor::ZipExtractor(ZipExtractOptions options)
    : fOptions(std::move(options))
{ }

ZipExtractor::~ZipExtractor()
{
    ForgetCachedFolder();
    // Still open when a stop check unwound the thread out of Extract().
    if (fDestinationFd >= 0)
        close(fDestinationFd);
}

void ZipExtractor::ForgetCachedFolder()
{
    if (fCachedFd >= 0)
        close(fCachedFd);
    fCachedFd = -1;
    fCachedName.clear();
}

status_t ZipExtractor::Extract(ZipReader& reader, const char* destination, std::string* itemPath)
{
    fError.clear();
    fFolders.clear();
    fHeldAttributeBytes = 0;
    fDone = 0;
    fTotal = 0;
    ZipListing listing;
    status_t status = reader.List(listing);
    if (status != B_OK)
        return Fail(status, reader.ErrorMessage());
    fDestination = destination;
    fDestinationFd = open(destination, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fDestinationFd < 0)
        return FailErrno("cannot open the folder", fDestination);
    const std::string& item = listing.itemName;
    struct stat info;
    if (fstatat(fDestinationFd, item.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        status = Fail(B_FILE_EXISTS, "\"" + PathOf(item) + "\" already exists");
    bool created = false;
    if (status == B_OK && listing.itemKind == ZipMemberKind::Folder) {
        if (mkdirat(fDestinationFd, item.c_str(), 0700) != 0)
            status = FailErrno("cannot create", item);
        created = status == B_OK;
        fFolders[item] = Folder();
    }
    if (status == B_OK)
        status = ExtractAll(reader, listing);
    if (status == B_OK)
        status = FinishFolders();
    ForgetCachedFolder();
    if (status != B_OK && created)
        RemoveTree(fDestinationFd, item);
    close(fDestinationFd);
    fDestinationFd = -1;
    if (status == B_OK && itemPath != nullptr)
        *itemPath = PathOf(item);
    return status;
}

status_t ZipExtractor::ExtractAll(ZipReader& reader, const ZipListing& listing)
{
    for (const ZipMember& member : listing.members) {
        if (member.kind == ZipMemberKind::File)
            fTotal += member.size;
    }
    for (size_t i = 0; i < listing.members.size(); ++i) {
        if (fOptions.shouldStop && fOptions.shouldStop())
            return Fail(B_CANCELED, "stopped");
        const ZipMember& member = listing.members[i];
        status_t status = B_OK;
        if (member.kind == ZipMemberKind::Folder)
            status = ExtractFolder(reader, i, member);
        else if (member.kind == ZipMemberKind::Link)
            status = ExtractLink(reader, i, member);
        else
            status = ExtractFile(reader, i, member);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

status_t ZipExtractor::ExtractFolder(ZipReader& reader, size_t index, const ZipMember& member)
{
    ZipMemberDetails details;
    status_t status = reader.ReadDetails(index, details);
    if (status != B_OK)
        return Fail(status, reader.ErrorMessage());
    int fd = -1;
    status = OpenFolder(member.name, true, fd);
    if (status != B_OK)
        return status;
    // The attributes go on once the folder's times are final.
    for (const ZipAttribute& attribute : details.attributes)
        fHeldAttributeBytes += attribute.data.size() + attribute.name.size();
    if (fHeldAttributeBytes > kMaxHeldAttributeBytes)
        return Fail(B_NO_MEMORY, "the archive's folders carry too many attributes");
    Folder& folder = fFolders[member.name];
    folder.mode = member.mode;
    folder.hasTimes = true;
    folder.times = details.times;
    folder.attributes = std::move(details.attributes);
    return B_OK;
}

status_t ZipExtractor::ExtractFile(ZipReader& reader, size_t index, const ZipMember& member)
{
    ZipMemberDetails details;
    status_t status = reader.ReadDetails(index, details);
    if (status != B_OK)
        return Fail(status, reader.ErrorMessage());
    std::string parentName = ZipNames::Parent(member.name);
    int parent = fDestinationFd;
    if (!parentName.empty() && (status = OpenFolder(parentName, true, parent)) != B_OK)
        return status;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = TemporaryName();
        fd = openat(
            parent, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return FailErrno("cannot create a file beside", member.name);
    // Closed on every way out, a stop check that unwinds the thread included.
    struct Closer {
        int& fd;
        ~Closer()
        {
            if (fd >= 0)
                close(fd);
        }
    } closer {fd};

    status = reader.ReadData(
        index,
        [&](const uint8* data, size_t size) -> status_t {
            size_t put = 0;
            status_t written = write_all(fd, data, size, &put);
            fDone += uint64(put);
            if (written != B_OK)
                return FailErrno("cannot write", member.name);
            if (fOptions.progress)
                fOptions.progress(fDone, fTotal);
            return B_OK;
        },
        fOptions.shouldStop);
    if (status != B_OK && fError.empty())
        Fail(status, reader.ErrorMessage());
    // Times, then attributes (the attribute store may tell nodes apart by
    // their modification time), then the mode (which may forbid writing
    // attributes).
    struct timespec times[2];
    SetTimes(details.times, times);
    if (status == B_OK && futimens(fd, times) != 0)
        status = FailErrno("cannot set the times of", member.name);
    std::string temporaryName = parentName.empty() ? temporary : parentName + "/" + temporary;
    if (status == B_OK)
        status = WriteAttributes(temporaryName, details.attributes);
    if (status == B_OK && fchmod(fd, member.mode) != 0)
        status = FailErrno("cannot set the mode of", member.name);
    int closed = close(fd);
    fd = -1;
    if (closed != 0 && status == B_OK)
        status = FailErrno("cannot write", member.name);
    if (status == B_OK && RenameNoReplace(parent, temporary, LeafOf(member.name)) != 0)
        status = FailErrno("cannot create", member.name);
    if (status != B_OK)
        unlinkat(parent, temporary.c_str(), 0);
    return status;
}

status_t ZipExtractor::ExtractLink(ZipReader& reader, size_t index, const ZipMember& member)
{
    ZipMemberDetails details;
    status_t status = reader.ReadDetails(index, details);
    if (status != B_OK)
        return Fail(status, reader.ErrorMessage());
    int parent = -1;
    if ((status = OpenFolder(ZipNames::Parent(member.name), true, parent)) != B_OK)
        return status;
    std::string temporary;
    int result = -1;
    for (int attempt = 0; result != 0 && attempt < 100; ++attempt) {
        temporary = TemporaryName();
        result = symlinkat(member.linkTarget.c_str(), parent, temporary.c_str());
        if (result != 0 && errno != EEXIST)
            break;
    }
    if (result != 0)
        return FailErrno("cannot create the link", member.name);
    struct timespec times[2];
    SetTimes(details.times, times);
    if (utimensat(parent, temporary.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        status = FailErrno("cannot set the times of", member.name);
    if (status == B_OK && RenameNoReplace(parent, temporary, LeafOf(member.name)) != 0)
        status = FailErrno("cannot create the link", member.name);
    if (status != B_OK) {
        unlinkat(parent, temporary.c_str(), 0);
        return status;
    }
    // A link's attributes may live apart from it, by path: write them at its
    // final place. The attribute store reads the link, which moves its
    // access time, so the times go on once more.
    status = WriteAttributes(member.name, details.attributes);
    if (status == B_OK && !details.attributes.empty()
        && utimensat(parent, LeafOf(member.name).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        status = FailErrno("cannot set the times of", member.name);
    return status;
}

status_t ZipExtractor::FinishFolders()
{
    ForgetCachedFolder();
    std::vector<std::pair<size_t, std::string>> order;
    for (const auto& [name, folder] : fFolders)
        order.emplace_back(std::count(name.begin(), name.end(), '/'), name);
    // Deepest first: setting a folder's times after its contents keeps them.
    std::sort(order.rbegin(), order.rend());
    for (const auto& [depth, name] : order) {
        const Folder& folder = fFolders[name];
        int fd = -1;
        status_t status = OpenFolder(name, false, fd);
        if (status != B_OK)
            return status;
        fCachedFd = -1; // the descriptor is ours to close here
        fCachedName.clear();
        struct timespec times[2];
        SetTimes(folder.times, times);
        bool failed = folder.hasTimes && futimens(fd, times) != 0;
        status = failed ? FailErrno("cannot set the times of", name) : B_OK;
        if (status == B_OK)
            status = WriteAttributes(name, folder.attributes);
        if (status == B_OK && fchmod(fd, folder.mode) != 0)
            status = FailErrno("cannot set the mode of", name);
        close(fd);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

// Opens the folder `name` inside the destination one component at a time,
// never through a link; with `create`, missing folders are made. The
// descriptor stays cached and is closed by the extractor.
status_t ZipExtractor::OpenFolder(const std::string& name, bool create, int& fd)
{
    if (fCachedFd >= 0 && fCachedName == name) {
        fd = fCachedFd;
        return B_OK;
    }
    ForgetCachedFolder();
    int current = dup(fDestinationFd);
    if (current < 0)
        return FailErrno("cannot open", name);
    size_t start = 0;
    while (start < name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos)
            slash = name.size();
        std::string part = name.substr(start, slash - start);
        std::string sofar = name.substr(0, slash);
        start = slash + 1;
        int next = openat(current, part.c_str(), kOpenFolder);
        if (next < 0 && errno == ENOENT && create) {
            if (mkdirat(current, part.c_str(), 0700) != 0 && errno != EEXIST) {
                close(current);
                return FailErrno("cannot create the folder", sofar);
            }
            fFolders.emplace(sofar, Folder());
            next = openat(current, part.c_str(), kOpenFolder);
        }
        close(current);
        if (next < 0)
            return FailErrno("cannot open the folder", sofar);
        current = next;
    }
    fCachedFd = current;
    fCachedName = name;
    fd = current;
    return B_OK;
}

status_t ZipExtractor::WriteAttributes(const std::string& name, const ZipAttributeList& attributes)
{
    if (fOptions.attributes == nullptr || attributes.empty())
        return B_OK;
    status_t status = fOptions.attributes->WriteAttributes(PathOf(name).c_str(), attributes);
    if (status != B_OK)
        return Fail(status, "cannot write the attributes of \"" + PathOf(name) + "\"");
    return B_OK;
}

std::string ZipExtractor::PathOf(const std::string& name) const
{
    return fDestination + "/" + name;
}

status_t ZipExtractor::Fail(status_t status, const std::string& message)
{
    if (fError.empty())
        fError = message;
    return status;
}

status_t ZipExtractor::FailErrno(const std::string& what, const std::string& name)
{
    int error = errno;
    return Fail(status_from_errno(error), what + " \"" + name + "\": " + strerror(error));
}
