#include "ZipExtractor.h"

#include "FileTypes.h"
#include "StorageDefs.h"
#include "WriteAll.h"
#include "ZipNames.h"
#include "ZipWriterPool.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kCreateFile = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
// What type detection looks at of a file's content.
constexpr size_t kHeadSize = 4096;
// How long the caller waits for its writers before it looks for a stop.
constexpr std::chrono::milliseconds kWaitStep {20};

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

// A file being written in `folder`: closed, and removed unless kept, on
// every way out, a stop check that unwinds the thread included.
class PartialFile {
public:
    explicit PartialFile(int folder)
        : fFolder(folder)
    { }
    ~PartialFile()
    {
        Close();
        if (!fKept && !fName.empty())
            unlinkat(fFolder, fName.c_str(), 0);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool Create(const std::string& name)
    {
        fFd = openat(fFolder, name.c_str(), kCreateFile, 0600);
        if (fFd >= 0)
            fName = name;
        return fFd >= 0;
    }
    bool CreateTemporary()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (Create(TemporaryName()))
                return true;
            if (errno != EEXIST)
                break;
        }
        return false;
    }
    int Close()
    {
        int result = fFd >= 0 ? close(fFd) : 0;
        fFd = -1;
        return result;
    }
    void Keep() { fKept = true; }
    int Fd() const { return fFd; }
    const std::string& Name() const { return fName; }

private:
    int fFolder;
    int fFd = -1;
    std::string fName;
    bool fKept = false;
};

bool IsTypeName(const std::string& name)
{
    return name == "BEOS:TYPE" || name == "mime_type";
}

// Whether the archive gives a node a type that reads back as one.
bool HasType(const ZipAttributeList& attributes)
{
    for (const ZipAttribute& attribute : attributes) {
        if (!IsTypeName(attribute.name))
            continue;
        const char* text = reinterpret_cast<const char*>(attribute.data.data());
        size_t length = strnlen(text, attribute.data.size());
        return attribute.data.size() <= B_MIME_TYPE_LENGTH && length > 0
            && length < B_MIME_TYPE_LENGTH;
    }
    return false;
}

ZipAttribute TypeAttribute(const std::string& type)
{
    ZipAttribute attribute {"BEOS:TYPE", B_MIME_TYPE, std::vector<uint8>(type.begin(), type.end())};
    attribute.data.push_back(0); // as the kit keeps it
    return attribute;
}

} // namespace

ZipExtractor::ZipExtractor(ZipExtractOptions options)
    : fOptions(std::move(options))
{ }

ZipExtractor::~ZipExtractor()
{
    if (!fBegun)
        return;
    // Unwound out of Begin/Advance by a stop check, or never ended.
    Stop();
    WaitForWriters();
    CloseSlots();
    ForgetCachedFolder();
    if (fCreated)
        RemoveTree(fDestinationFd, fListing->itemName);
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

void ZipExtractor::CloseSlots()
{
    for (Slot& slot : fSlots) {
        if (slot.folderFd >= 0)
            close(slot.folderFd);
    }
    fSlots.clear();
}

status_t ZipExtractor::Extract(ZipReader& reader, const char* destination, std::string* itemPath)
{
    Begin(reader, destination);
    ZipWriterPool* writers = fOptions.writers;
    // Without writers Advance() writes everything itself.
    while (!Advance() || !Settled()) {
        writers->Wait(kWaitStep);
        uint64 written = writers->Written();
        if (fOptions.progress)
            fOptions.progress(Done(), fTotal);
        if (fOptions.shouldStop && fOptions.shouldStop())
            Stop();
        else
            writers->Acknowledge(written);
    }
    if (writers != nullptr && fOptions.progress)
        fOptions.progress(Done(), fTotal);
    return End(itemPath);
}

status_t ZipExtractor::Begin(ZipReader& reader, const char* destination)
{
    if (fBegun)
        return Fail(0, B_BUSY, "an extraction is already under way");
    fBegun = true;
    fReader = &reader;
    fListing = nullptr;
    fCreated = false;
    fNext = 0;
    fFolders.clear();
    fHeldAttributeBytes = 0;
    fDone = 0;
    fTotal = 0;
    fCancelFrom = kNoFailure;
    fFailedMember = kNoFailure;
    fStatus = B_OK;
    fError.clear();
    fSlots.resize(fOptions.writers != nullptr ? size_t(fOptions.writers->Threads()) : 1);

    status_t status = reader.List(fListing);
    if (status != B_OK)
        return Fail(0, status, reader.ErrorMessage());
    for (const ZipMember& member : fListing->members) {
        if (member.kind == ZipMemberKind::File)
            fTotal += member.size;
    }
    fDestination = destination;
    fDestinationFd = open(destination, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fDestinationFd < 0)
        return FailErrno(0, "cannot open the folder", fDestination);
    const std::string& item = fListing->itemName;
    struct stat info;
    if (fstatat(fDestinationFd, item.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return Fail(0, B_FILE_EXISTS, "\"" + PathOf(item) + "\" already exists");
    if (fListing->itemKind == ZipMemberKind::Folder) {
        if (mkdirat(fDestinationFd, item.c_str(), 0700) != 0)
            return FailErrno(0, "cannot create", item);
        fCreated = true;
        fFolders[item] = Folder();
    }
    return B_OK;
}

bool ZipExtractor::Advance()
{
    if (fListing == nullptr)
        return true;
    const std::vector<ZipMember>& members = fListing->members;
    while (fNext < members.size() && !Failed()) {
        if (fOptions.shouldStop && fOptions.shouldStop()) {
            Stop();
            break;
        }
        const ZipMember& member = members[fNext];
        if (member.kind == ZipMemberKind::File && fOptions.writers != nullptr) {
            if (!HandOn(fNext, member))
                return false;
        } else if (member.kind == ZipMemberKind::File) {
            ExtractFile(fSlots.front(), fNext, false);
        } else if (member.kind == ZipMemberKind::Folder) {
            ExtractFolder(fNext, member);
        } else {
            ExtractLink(fNext, member);
        }
        ++fNext;
    }
    return true;
}

// Queues a file for the writers once its folder is made, in archive order;
// false when the queue is full.
bool ZipExtractor::HandOn(size_t index, const ZipMember& member)
{
    std::string parentName = ZipNames::Parent(member.name);
    int parent = -1;
    if (!parentName.empty() && OpenFolder(index, parentName, true, parent) != B_OK)
        return true; // failed: nothing more is handed on
    fPending.fetch_add(1, std::memory_order_acq_rel);
    if (fOptions.writers->TryQueue(this, index))
        return true;
    fPending.fetch_sub(1, std::memory_order_acq_rel);
    return false;
}

bool ZipExtractor::Settled() const
{
    if (fListing == nullptr)
        return true;
    bool handed = fNext >= fListing->members.size() || Failed();
    return handed && fPending.load(std::memory_order_acquire) == 0;
}

void ZipExtractor::Stop()
{
    {
        std::lock_guard lock(fFailureMutex);
        if (fFailedMember == kNoFailure) {
            fFailedMember = 0;
            fStatus = B_CANCELED;
            fError = "stopped";
        }
    }
    fCancelFrom.store(0, std::memory_order_release);
    if (fOptions.writers != nullptr)
        fOptions.writers->WakeWriters();
}

void ZipExtractor::WaitForWriters()
{
    while (fPending.load(std::memory_order_acquire) > 0)
        fOptions.writers->Wait(kWaitStep);
}

status_t ZipExtractor::End(std::string* itemPath)
{
    if (!fBegun)
        return fStatus;
    if (fOptions.writers != nullptr)
        WaitForWriters();
    CloseSlots();
    status_t status;
    {
        std::lock_guard lock(fFailureMutex);
        status = fStatus;
    }
    if (status == B_OK)
        status = FinishFolders();
    ForgetCachedFolder();
    if (status != B_OK && fCreated)
        RemoveTree(fDestinationFd, fListing->itemName);
    if (fDestinationFd >= 0)
        close(fDestinationFd);
    fDestinationFd = -1;
    fBegun = false;
    if (status == B_OK && itemPath != nullptr)
        *itemPath = PathOf(fListing->itemName);
    return status;
}

void ZipExtractor::WriteQueued(int slot, size_t index)
{
    if (!Cancelled(index))
        ExtractFile(fSlots[size_t(slot)], index, true);
    fPending.fetch_sub(1, std::memory_order_acq_rel);
}

status_t ZipExtractor::ExtractFolder(size_t index, const ZipMember& member)
{
    ZipMemberDetails details;
    status_t status = fReader->ReadDetails(index, details);
    if (status != B_OK)
        return Fail(index, status, fReader->ErrorMessage());
    int fd = -1;
    status = OpenFolder(index, member.name, true, fd);
    if (status != B_OK)
        return status;
    // The attributes go on once the folder's times are final.
    for (const ZipAttribute& attribute : details.attributes)
        fHeldAttributeBytes += attribute.data.size() + attribute.name.size();
    if (fHeldAttributeBytes > kMaxHeldAttributeBytes)
        return Fail(index, B_NO_MEMORY, "the archive's folders carry too many attributes");
    Folder& folder = fFolders[member.name];
    folder.mode = member.mode;
    folder.hasTimes = true;
    folder.times = details.times;
    folder.attributes = std::move(details.attributes);
    return B_OK;
}

status_t ZipExtractor::ExtractFile(Slot& slot, size_t index, bool pooled)
{
    const ZipMember& member = fListing->members[index];
    ZipReader* reader = fReader;
    if (pooled) {
        if (slot.reader == nullptr) {
            auto own = std::make_unique<ZipReader>();
            status_t status = own->OpenLike(*fReader);
            if (status != B_OK)
                return Fail(index, status, own->ErrorMessage());
            slot.reader = std::move(own);
        }
        reader = slot.reader.get();
    }
    std::string parentName = ZipNames::Parent(member.name);
    int parent = fDestinationFd;
    if (!parentName.empty()) {
        status_t status = pooled ? OpenFolderFor(slot, index, parentName, parent)
                                 : OpenFolder(index, parentName, true, parent);
        if (status != B_OK)
            return status;
    }
    // A file item arrives in the destination whole, by rename. Inside a
    // folder item, which goes whole when anything fails, a file is written
    // under its own name: one open, the data, times, attributes and mode on
    // the descriptor, one close.
    bool isItem = parentName.empty();
    PartialFile file(parent);
    if (isItem ? !file.CreateTemporary() : !file.Create(LeafOf(member.name)))
        return FailErrno(
            index, isItem ? "cannot create a file beside" : "cannot create", member.name);
    ZipMemberDetails details;
    std::string head;
    status_t status = WriteData(*reader, index, file.Fd(), pooled, details, head);
    if (status != B_OK)
        return status;
    struct timespec times[2];
    SetTimes(details.times, times);
    if (futimens(file.Fd(), times) != 0)
        return FailErrno(index, "cannot set the times of", member.name);
    std::string detected;
    if (fOptions.assignTypes && !HasType(details.attributes))
        detected = mime_type_of_content(head, (member.mode & 0111) != 0);
    std::string written = isItem ? file.Name() : member.name;
    status = WriteAttributes(index, file.Fd(), written, details.attributes,
        detected.empty() ? nullptr : detected.c_str());
    if (status != B_OK)
        return status;
    // The mode last: it may forbid writing attributes.
    if (fchmod(file.Fd(), member.mode) != 0)
        return FailErrno(index, "cannot set the mode of", member.name);
    if (file.Close() != 0)
        return FailErrno(index, "cannot write", member.name);
    if (isItem && RenameNoReplace(parent, file.Name(), member.name) != 0)
        return FailErrno(index, "cannot create", member.name);
    file.Keep();
    return B_OK;
}

// The member's data into `fd`; its local details into `details`, and the
// first bytes into `head` when types are to be detected.
status_t ZipExtractor::WriteData(ZipReader& reader, size_t index, int fd, bool pooled,
    ZipMemberDetails& details, std::string& head)
{
    const ZipMember& member = fListing->members[index];
    bool wantHead = fOptions.assignTypes && fOptions.attributes != nullptr;
    auto cancelled = [this, index] { return Cancelled(index); };
    auto sink = [&](const uint8* data, size_t size) -> status_t {
        if (pooled && !fOptions.writers->Reserve(size, cancelled))
            return B_CANCELED;
        if (wantHead && head.size() < kHeadSize)
            head.append(
                reinterpret_cast<const char*>(data), std::min(size, kHeadSize - head.size()));
        size_t put = 0;
        status_t written = write_all(fd, data, size, &put);
        fDone.fetch_add(uint64(put), std::memory_order_relaxed);
        if (written != B_OK)
            return FailErrno(index, "cannot write", member.name);
        if (!pooled && fOptions.progress)
            fOptions.progress(Done(), fTotal);
        return B_OK;
    };
    ZipReader::StopCheck stop = fOptions.shouldStop;
    if (pooled)
        stop = cancelled;
    status_t status = reader.ReadMember(index, details, sink, stop);
    // A file given up because of another member's failure or a stop says
    // nothing of its own.
    if (status != B_OK && !(pooled && Cancelled(index)))
        Fail(index, status, reader.ErrorMessage());
    return status;
}

status_t ZipExtractor::ExtractLink(size_t index, const ZipMember& member)
{
    ZipMemberDetails details;
    status_t status = fReader->ReadDetails(index, details);
    if (status != B_OK)
        return Fail(index, status, fReader->ErrorMessage());
    int parent = -1;
    if ((status = OpenFolder(index, ZipNames::Parent(member.name), true, parent)) != B_OK)
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
        return FailErrno(index, "cannot create the link", member.name);
    struct timespec times[2];
    SetTimes(details.times, times);
    if (utimensat(parent, temporary.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        status = FailErrno(index, "cannot set the times of", member.name);
    if (status == B_OK && RenameNoReplace(parent, temporary, LeafOf(member.name)) != 0)
        status = FailErrno(index, "cannot create the link", member.name);
    if (status != B_OK) {
        unlinkat(parent, temporary.c_str(), 0);
        return status;
    }
    // A link's attributes may live apart from it, by path: write them at its
    // final place. The attribute store reads the link, which moves its
    // access time, so the times go on once more.
    bool typed = fOptions.assignTypes && !HasType(details.attributes);
    status = WriteAttributes(
        index, -1, member.name, details.attributes, typed ? kSymLinkMimeType : nullptr);
    bool attributed = typed || !details.attributes.empty() || !fOptions.everyNode.empty();
    if (status == B_OK && attributed && fOptions.attributes != nullptr
        && utimensat(parent, LeafOf(member.name).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        status = FailErrno(index, "cannot set the times of", member.name);
    return status;
}

status_t ZipExtractor::FinishFolders()
{
    ForgetCachedFolder();
    // Failures here come after every member's.
    size_t index = fListing->members.size();
    std::vector<std::pair<size_t, std::string>> order;
    for (const auto& [name, folder] : fFolders)
        order.emplace_back(std::count(name.begin(), name.end(), '/'), name);
    // Deepest first: setting a folder's times after its contents keeps them.
    std::sort(order.rbegin(), order.rend());
    for (const auto& [depth, name] : order) {
        const Folder& folder = fFolders[name];
        int fd = -1;
        status_t status = OpenFolder(index, name, false, fd);
        if (status != B_OK)
            return status;
        fCachedFd = -1; // the descriptor is ours to close here
        fCachedName.clear();
        struct timespec times[2];
        SetTimes(folder.times, times);
        bool failed = folder.hasTimes && futimens(fd, times) != 0;
        status = failed ? FailErrno(index, "cannot set the times of", name) : B_OK;
        bool typed = fOptions.assignTypes && !HasType(folder.attributes);
        if (status == B_OK)
            status = WriteAttributes(
                index, fd, name, folder.attributes, typed ? kDirectoryMimeType : nullptr);
        if (status == B_OK && fchmod(fd, folder.mode) != 0)
            status = FailErrno(index, "cannot set the mode of", name);
        close(fd);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

// Opens the folder `name` inside the destination one component at a time,
// never through a link; with `create`, missing folders are made. The
// descriptor stays cached and is closed by the extractor. The calling
// thread's alone.
status_t ZipExtractor::OpenFolder(size_t index, const std::string& name, bool create, int& fd)
{
    if (fCachedFd >= 0 && fCachedName == name) {
        fd = fCachedFd;
        return B_OK;
    }
    ForgetCachedFolder();
    int current = dup(fDestinationFd);
    if (current < 0)
        return FailErrno(index, "cannot open", name);
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
                return FailErrno(index, "cannot create the folder", sofar);
            }
            fFolders.emplace(sofar, Folder());
            next = openat(current, part.c_str(), kOpenFolder);
        }
        close(current);
        if (next < 0)
            return FailErrno(index, "cannot open the folder", sofar);
        current = next;
    }
    fCachedFd = current;
    fCachedName = name;
    fd = current;
    return B_OK;
}

// The same for a writing thread, which never makes a folder: the calling
// thread made it before handing the file on.
status_t ZipExtractor::OpenFolderFor(Slot& slot, size_t index, const std::string& name, int& fd)
{
    if (slot.folderFd >= 0 && slot.folderName == name) {
        fd = slot.folderFd;
        return B_OK;
    }
    if (slot.folderFd >= 0)
        close(slot.folderFd);
    slot.folderFd = -1;
    int current = dup(fDestinationFd);
    for (size_t start = 0; current >= 0 && start < name.size();) {
        size_t slash = std::min(name.find('/', start), name.size());
        int next = openat(current, name.substr(start, slash - start).c_str(), kOpenFolder);
        int error = errno;
        close(current);
        errno = error;
        current = next;
        start = slash + 1;
    }
    if (current < 0)
        return FailErrno(index, "cannot open the folder", name);
    slot.folderFd = current;
    slot.folderName = name;
    fd = current;
    return B_OK;
}

// The node's own attributes, its detected type and what every node gets;
// on the open node `fd` when there is one.
status_t ZipExtractor::WriteAttributes(size_t index, int fd, const std::string& name,
    const ZipAttributeList& own, const char* detectedType)
{
    if (fOptions.attributes == nullptr)
        return B_OK;
    const ZipAttributeList* attributes = &own;
    ZipAttributeList combined;
    if (detectedType != nullptr || !fOptions.everyNode.empty()) {
        combined = own;
        if (detectedType != nullptr)
            combined.push_back(TypeAttribute(detectedType));
        combined.insert(combined.end(), fOptions.everyNode.begin(), fOptions.everyNode.end());
        attributes = &combined;
    }
    if (attributes->empty())
        return B_OK;
    std::string path = PathOf(name);
    status_t status = fd >= 0 ? fOptions.attributes->WriteAttributes(fd, path.c_str(), *attributes)
                              : fOptions.attributes->WriteAttributes(path.c_str(), *attributes);
    if (status != B_OK)
        return Fail(index, status, "cannot write the attributes of \"" + path + "\"");
    return B_OK;
}

std::string ZipExtractor::PathOf(const std::string& name) const
{
    return fDestination + "/" + name;
}

status_t ZipExtractor::Fail(size_t index, status_t status, const std::string& message)
{
    {
        std::lock_guard lock(fFailureMutex);
        if (index < fFailedMember) {
            fFailedMember = index;
            fStatus = status;
            fError = message;
        }
    }
    // The members after it give up; those before it are still written, so
    // that the failure told is the one earliest in the archive.
    size_t from = fCancelFrom.load(std::memory_order_acquire);
    while (index + 1 < from
        && !fCancelFrom.compare_exchange_weak(from, index + 1, std::memory_order_acq_rel)) { }
    if (fOptions.writers != nullptr)
        fOptions.writers->WakeWriters();
    return status;
}

status_t ZipExtractor::FailErrno(size_t index, const std::string& what, const std::string& name)
{
    int error = errno;
    return Fail(index, status_from_errno(error), what + " \"" + name + "\": " + strerror(error));
}
