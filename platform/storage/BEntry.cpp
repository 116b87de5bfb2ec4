#include "BEntry.h"

#include "BDirectory.h"
#include "BPath.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

std::string MakeAbsolute(const char* path)
{
    std::string result = path;
    if (result[0] != '/') {
        std::vector<char> cwd(PATH_MAX);
        if (getcwd(cwd.data(), cwd.size()) == nullptr)
            return {};
        result = std::string(cwd.data()) + "/" + result;
    }
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

status_t Canonical(const std::string& path, std::string* result)
{
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        return status_from_errno(errno);
    *result = resolved;
    return B_OK;
}

std::string Join(const std::string& folder, const std::string& leaf)
{
    return folder == "/" ? "/" + leaf : folder + "/" + leaf;
}

} // namespace

BEntry::BEntry(const BDirectory* dir, const char* path, bool traverse)
{
    SetTo(dir, path, traverse);
}

BEntry::BEntry(const entry_ref* ref, bool traverse)
{
    SetTo(ref, traverse);
}

BEntry::BEntry(const char* path, bool traverse)
{
    SetTo(path, traverse);
}

status_t BEntry::SetTo(const char* path, bool traverse)
{
    Unset();
    if (path == nullptr || *path == '\0')
        return fStatus = B_BAD_VALUE;
    std::string absolute = MakeAbsolute(path);
    if (absolute.empty())
        return fStatus = B_ENTRY_NOT_FOUND;
    struct stat st;
    bool isLink = lstat(absolute.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    if (traverse && isLink) {
        status_t status = Canonical(absolute, &absolute);
        if (status != B_OK)
            return fStatus = status;
    }
    if (absolute == "/") {
        fPath = "/";
        return fStatus = B_OK;
    }
    size_t slash = absolute.rfind('/');
    std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
    std::string leaf = absolute.substr(slash + 1);
    if (leaf == "." || leaf == "..") {
        status_t status = Canonical(absolute, &absolute);
        if (status != B_OK)
            return fStatus = status;
        return SetTo(absolute.c_str());
    }
    if (leaf.size() >= size_t(B_FILE_NAME_LENGTH))
        return fStatus = B_NAME_TOO_LONG;
    std::string canonicalFolder;
    status_t status = Canonical(folder, &canonicalFolder);
    if (status != B_OK)
        return fStatus = status;
    if (stat(canonicalFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return fStatus = B_NOT_A_DIRECTORY;
    SetCanonical(canonicalFolder, leaf);
    return fStatus;
}

status_t BEntry::SetTo(const BDirectory* dir, const char* path, bool traverse)
{
    Unset();
    if (path != nullptr && *path == '/')
        return SetTo(path, traverse);
    if (dir == nullptr || dir->InitCheck() != B_OK || path == nullptr || *path == '\0')
        return fStatus = B_BAD_VALUE;
    return SetTo(Join(dir->Path(), path).c_str(), traverse);
}

status_t BEntry::SetTo(const entry_ref* ref, bool traverse)
{
    Unset();
    if (ref == nullptr || !ref->IsSet() || ref->directoryPath.empty())
        return fStatus = B_BAD_VALUE;
    // The folder is named by its path; make sure it is still the folder the
    // reference was made for.
    if (ref->device != 0 || ref->directory != 0) {
        struct stat st;
        if (stat(ref->directoryPath.c_str(), &st) != 0)
            return fStatus = status_from_errno(errno);
        if (st.st_dev != ref->device || st.st_ino != ref->directory)
            return fStatus = B_ENTRY_NOT_FOUND;
    }
    return SetTo(Join(ref->directoryPath, ref->name).c_str(), traverse);
}

void BEntry::SetCanonical(const std::string& folder, const std::string& leaf)
{
    fPath = Join(folder, leaf);
    fStatus = B_OK;
}

void BEntry::Unset()
{
    fPath.clear();
    fStatus = B_NO_INIT;
}

bool BEntry::Exists() const
{
    struct stat st;
    return fStatus == B_OK && lstat(fPath.c_str(), &st) == 0;
}

status_t BEntry::GetRef(entry_ref* ref) const
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    std::string folder = "/";
    std::string leaf = ".";
    if (fPath != "/") {
        size_t slash = fPath.rfind('/');
        folder = slash == 0 ? "/" : fPath.substr(0, slash);
        leaf = fPath.substr(slash + 1);
    }
    struct stat st;
    if (stat(folder.c_str(), &st) != 0)
        return status_from_errno(errno);
    *ref = entry_ref(st.st_dev, st.st_ino, leaf.c_str(), folder);
    return B_OK;
}

status_t BEntry::GetPath(BPath* path) const
{
    if (path == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return path->SetTo(fPath.c_str());
}

status_t BEntry::GetParent(BEntry* entry) const
{
    if (entry == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    if (fPath == "/")
        return B_ENTRY_NOT_FOUND;
    size_t slash = fPath.rfind('/');
    if (slash == 0) {
        entry->fPath = "/";
        entry->fStatus = B_OK;
        return B_OK;
    }
    std::string folder = fPath.substr(0, slash);
    size_t upper = folder.rfind('/');
    entry->SetCanonical(upper == 0 ? "/" : folder.substr(0, upper), folder.substr(upper + 1));
    return B_OK;
}

status_t BEntry::GetParent(BDirectory* dir) const
{
    if (dir == nullptr)
        return B_BAD_VALUE;
    BEntry parent;
    status_t status = GetParent(&parent);
    if (status != B_OK)
        return status;
    return dir->SetTo(&parent);
}

const char* BEntry::Name() const
{
    if (fStatus != B_OK)
        return nullptr;
    if (fPath == "/")
        return "/";
    return fPath.c_str() + fPath.rfind('/') + 1;
}

status_t BEntry::GetName(char* buffer) const
{
    if (buffer == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    snprintf(buffer, B_FILE_NAME_LENGTH, "%s", Name());
    return B_OK;
}

status_t BEntry::Rename(const char* path, bool clobber)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    if (fPath == "/")
        return B_NOT_ALLOWED;
    std::string target = path;
    if (target[0] != '/')
        target = Join(fPath.substr(0, std::max<size_t>(fPath.rfind('/'), 1)), target);
    BEntry destination(target.c_str());
    if (destination.InitCheck() != B_OK)
        return destination.InitCheck();
    if (destination.fPath == fPath)
        return B_OK;
    unsigned int flags = clobber ? 0 : RENAME_NOREPLACE;
    if (renameat2(AT_FDCWD, fPath.c_str(), AT_FDCWD, destination.fPath.c_str(), flags) != 0) {
        // File systems without RENAME_NOREPLACE get a check and a plain rename.
        if (clobber || (errno != EINVAL && errno != ENOSYS))
            return status_from_errno(errno);
        if (destination.Exists())
            return B_FILE_EXISTS;
        if (rename(fPath.c_str(), destination.fPath.c_str()) != 0)
            return status_from_errno(errno);
    }
    fPath = destination.fPath;
    return B_OK;
}

status_t BEntry::MoveTo(BDirectory* dir, const char* path, bool clobber)
{
    if (dir == nullptr || dir->InitCheck() != B_OK)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    if (path != nullptr && *path == '/')
        return Rename(path, clobber);
    std::string leaf = path != nullptr && *path != '\0' ? path : Name();
    return Rename(Join(dir->Path(), leaf).c_str(), clobber);
}

status_t BEntry::Remove()
{
    if (fStatus != B_OK)
        return B_NO_INIT;
    struct stat st;
    if (lstat(fPath.c_str(), &st) != 0)
        return status_from_errno(errno);
    int result = S_ISDIR(st.st_mode) ? rmdir(fPath.c_str()) : unlink(fPath.c_str());
    return result == 0 ? B_OK : status_from_errno(errno);
}

bool BEntry::IsFile() const
{
    struct stat st;
    return GetStat(&st) == B_OK && S_ISREG(st.st_mode);
}

bool BEntry::IsDirectory() const
{
    struct stat st;
    return GetStat(&st) == B_OK && S_ISDIR(st.st_mode);
}

bool BEntry::IsSymLink() const
{
    struct stat st;
    return GetStat(&st) == B_OK && S_ISLNK(st.st_mode);
}

status_t BEntry::GetStat(struct stat* st) const
{
    if (st == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return lstat(fPath.c_str(), st) == 0 ? B_OK : status_from_errno(errno);
}

status_t BEntry::GetSize(off_t* size) const
{
    struct stat st;
    status_t status = size ? GetStat(&st) : B_BAD_VALUE;
    if (status == B_OK)
        *size = st.st_size;
    return status;
}

status_t BEntry::GetPermissions(mode_t* permissions) const
{
    struct stat st;
    status_t status = permissions ? GetStat(&st) : B_BAD_VALUE;
    if (status == B_OK)
        *permissions = st.st_mode & 07777;
    return status;
}

status_t BEntry::SetPermissions(mode_t permissions)
{
    if (fStatus != B_OK)
        return B_NO_INIT;
    // Links carry no permissions of their own on Linux.
    if (IsSymLink())
        return B_UNSUPPORTED;
    return chmod(fPath.c_str(), permissions & 07777) == 0 ? B_OK : status_from_errno(errno);
}

status_t BEntry::GetModificationTime(time_t* mtime) const
{
    struct stat st;
    status_t status = mtime ? GetStat(&st) : B_BAD_VALUE;
    if (status == B_OK)
        *mtime = st.st_mtim.tv_sec;
    return status;
}

status_t BEntry::GetAccessTime(time_t* atime) const
{
    struct stat st;
    status_t status = atime ? GetStat(&st) : B_BAD_VALUE;
    if (status == B_OK)
        *atime = st.st_atim.tv_sec;
    return status;
}

status_t BEntry::GetCreationTime(time_t* ctime) const
{
    if (ctime == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return get_creation_time(fPath.c_str(), ctime);
}

status_t BEntry::SetTimes(const struct timespec* accessTime, const struct timespec* modifyTime)
{
    if (fStatus != B_OK)
        return B_NO_INIT;
    struct timespec times[2];
    times[0] = accessTime ? *accessTime : timespec {0, UTIME_OMIT};
    times[1] = modifyTime ? *modifyTime : timespec {0, UTIME_OMIT};
    if (utimensat(AT_FDCWD, fPath.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return status_from_errno(errno);
    return B_OK;
}

status_t BEntry::SetModificationTime(time_t mtime)
{
    struct timespec time = {mtime, 0};
    return SetTimes(nullptr, &time);
}

status_t BEntry::SetAccessTime(time_t atime)
{
    struct timespec time = {atime, 0};
    return SetTimes(&time, nullptr);
}

status_t BEntry::SetCreationTime(time_t)
{
    return fStatus != B_OK ? B_NO_INIT : B_UNSUPPORTED;
}

bool BEntry::operator==(const BEntry& other) const
{
    if (fStatus != B_OK || other.fStatus != B_OK)
        return fStatus != B_OK && other.fStatus != B_OK;
    return fPath == other.fPath;
}

status_t get_creation_time(const char* path, time_t* creationTime)
{
    struct statx info;
    if (statx(AT_FDCWD, path, AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_CTIME, &info) != 0)
        return status_from_errno(errno);
    *creationTime = (info.stx_mask & STATX_BTIME) ? info.stx_btime.tv_sec : info.stx_ctime.tv_sec;
    return B_OK;
}
