#include "BDirectory.h"

#include "BEntry.h"
#include "BFile.h"
#include "BSymLink.h"
#include "BVolume.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool IsDotOrDotDot(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

bool MatchesFlags(mode_t mode, int32 nodeFlags)
{
    if (S_ISDIR(mode))
        return (nodeFlags & B_DIRECTORY_NODE) != 0;
    if (S_ISLNK(mode))
        return (nodeFlags & B_SYMLINK_NODE) != 0;
    return (nodeFlags & B_FILE_NODE) != 0;
}

} // namespace

BDirectory::BDirectory(const char* path)
{
    SetTo(path);
}

BDirectory::BDirectory(const entry_ref* ref)
{
    SetTo(ref);
}

BDirectory::BDirectory(const BEntry* entry)
{
    SetTo(entry);
}

BDirectory::BDirectory(const BDirectory* dir, const char* path)
{
    SetTo(dir, path);
}

BDirectory::BDirectory(const BDirectory& other)
{
    *this = other;
}

BDirectory& BDirectory::operator=(const BDirectory& other)
{
    if (this != &other) {
        // The copy walks from the start on its own handle.
        if (other.fStatus == B_OK)
            SetTo(other.fPath.c_str());
        else
            Unset();
    }
    return *this;
}

BDirectory::~BDirectory()
{
    Unset();
}

status_t BDirectory::SetTo(const char* path)
{
    Unset();
    if (path == nullptr || *path == '\0')
        return fStatus = B_BAD_VALUE;
    char resolved[PATH_MAX];
    if (realpath(path, resolved) == nullptr)
        return fStatus = status_from_errno(errno);
    fPath = resolved;
    return fStatus = Open();
}

status_t BDirectory::SetTo(const entry_ref* ref)
{
    BEntry entry(ref, true);
    if (entry.InitCheck() != B_OK) {
        Unset();
        return fStatus = entry.InitCheck();
    }
    return SetTo(&entry);
}

status_t BDirectory::SetTo(const BEntry* entry)
{
    if (entry == nullptr || entry->InitCheck() != B_OK) {
        Unset();
        return fStatus = B_BAD_VALUE;
    }
    return SetTo(entry->Path());
}

status_t BDirectory::SetTo(const BDirectory* dir, const char* path)
{
    if (path != nullptr && *path == '/')
        return SetTo(path);
    if (dir == nullptr || dir->InitCheck() != B_OK || path == nullptr) {
        Unset();
        return fStatus = B_BAD_VALUE;
    }
    std::string joined = dir->Resolve(path);
    return SetTo(joined.c_str());
}

status_t BDirectory::Open()
{
    int fd = open(fPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return status_from_errno(errno);
    struct stat st;
    if (fstat(fd, &st) != 0) {
        close(fd);
        return status_from_errno(errno);
    }
    fDevice = st.st_dev;
    fNode = st.st_ino;
    fDir = fdopendir(fd);
    if (fDir == nullptr) {
        close(fd);
        return status_from_errno(errno);
    }
    return B_OK;
}

void BDirectory::Unset()
{
    if (fDir != nullptr)
        closedir(fDir);
    fDir = nullptr;
    fPath.clear();
    fDevice = 0;
    fNode = 0;
    fStatus = B_NO_INIT;
}

std::string BDirectory::Resolve(const char* path) const
{
    if (*path == '/')
        return path;
    return fPath == "/" ? "/" + std::string(path) : fPath + "/" + path;
}

status_t BDirectory::GetEntry(BEntry* entry) const
{
    if (entry == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return entry->SetTo(fPath.c_str());
}

status_t BDirectory::GetStat(struct stat* st) const
{
    if (st == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return fstat(dirfd(fDir), st) == 0 ? B_OK : status_from_errno(errno);
}

status_t BDirectory::GetNextEntry(BEntry* entry, bool traverse)
{
    if (entry == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    errno = 0;
    while (struct dirent* item = readdir(fDir)) {
        if (IsDotOrDotDot(item->d_name))
            continue;
        entry->SetCanonical(fPath, item->d_name);
        if (traverse && entry->IsSymLink()) {
            std::string linkPath = entry->Path();
            return entry->SetTo(linkPath.c_str(), true);
        }
        return B_OK;
    }
    return errno != 0 ? status_from_errno(errno) : B_ENTRY_NOT_FOUND;
}

status_t BDirectory::GetNextRef(entry_ref* ref)
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    errno = 0;
    while (struct dirent* item = readdir(fDir)) {
        if (IsDotOrDotDot(item->d_name))
            continue;
        *ref = entry_ref(fDevice, fNode, item->d_name, fPath);
        return B_OK;
    }
    return errno != 0 ? status_from_errno(errno) : B_ENTRY_NOT_FOUND;
}

status_t BDirectory::Rewind()
{
    if (fStatus != B_OK)
        return B_NO_INIT;
    rewinddir(fDir);
    return B_OK;
}

int32 BDirectory::CountEntries()
{
    if (fStatus != B_OK)
        return 0;
    rewinddir(fDir);
    int32 count = 0;
    while (struct dirent* item = readdir(fDir)) {
        if (!IsDotOrDotDot(item->d_name))
            ++count;
    }
    rewinddir(fDir);
    return count;
}

status_t BDirectory::FindEntry(const char* path, BEntry* entry, bool traverse) const
{
    if (path == nullptr || *path == '\0' || entry == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    status_t status = entry->SetTo(Resolve(path).c_str(), traverse);
    if (status == B_OK && !entry->Exists())
        status = B_ENTRY_NOT_FOUND;
    if (status != B_OK)
        entry->Unset();
    return status;
}

bool BDirectory::Contains(const char* path, int32 nodeFlags) const
{
    if (path == nullptr || *path == '\0' || fStatus != B_OK)
        return false;
    BEntry entry(Resolve(path).c_str());
    return Contains(&entry, nodeFlags);
}

bool BDirectory::Contains(const BEntry* entry, int32 nodeFlags) const
{
    if (entry == nullptr || entry->InitCheck() != B_OK || fStatus != B_OK)
        return false;
    std::string path = entry->Path();
    std::string prefix = fPath == "/" ? "/" : fPath + "/";
    if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size())
        return false;
    struct stat st;
    return entry->GetStat(&st) == B_OK && MatchesFlags(st.st_mode, nodeFlags);
}

status_t BDirectory::GetStatFor(const char* path, struct stat* st) const
{
    if (path == nullptr || *path == '\0' || st == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return lstat(Resolve(path).c_str(), st) == 0 ? B_OK : status_from_errno(errno);
}

status_t BDirectory::CreateFile(const char* path, BFile* file, bool failIfExists)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    std::string target = Resolve(path);
    uint32 mode = B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE;
    if (failIfExists)
        mode |= B_FAIL_IF_EXISTS;
    BFile local;
    BFile* created = file != nullptr ? file : &local;
    return created->SetTo(target.c_str(), mode);
}

status_t BDirectory::CreateDirectory(const char* path, BDirectory* dir)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    std::string target = Resolve(path);
    if (mkdir(target.c_str(), 0777) != 0)
        return status_from_errno(errno);
    return dir != nullptr ? dir->SetTo(target.c_str()) : B_OK;
}

status_t BDirectory::CreateSymLink(const char* path, const char* linkToPath, BSymLink* link)
{
    if (path == nullptr || *path == '\0' || linkToPath == nullptr || *linkToPath == '\0')
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    std::string target = Resolve(path);
    if (symlink(linkToPath, target.c_str()) != 0)
        return status_from_errno(errno);
    return link != nullptr ? link->SetTo(target.c_str()) : B_OK;
}

bool BDirectory::IsRootDirectory() const
{
    if (fStatus != B_OK)
        return false;
    BVolume volume;
    if (volume.SetTo(fDevice) != B_OK)
        return false;
    BDirectory root;
    return volume.GetRootDirectory(&root) == B_OK && root.fPath == fPath;
}

status_t create_directory(const char* path, mode_t mode)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    std::string full = path;
    struct stat st;
    if (stat(full.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? B_OK : B_NOT_A_DIRECTORY;
    // Create each missing folder from the top down.
    for (size_t slash = full.find('/', 1);; slash = full.find('/', slash + 1)) {
        std::string part = full.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            return status_from_errno(errno);
        if (slash == std::string::npos)
            break;
    }
    if (stat(full.c_str(), &st) != 0)
        return status_from_errno(errno);
    return S_ISDIR(st.st_mode) ? B_OK : B_NOT_A_DIRECTORY;
}
