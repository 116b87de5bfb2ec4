#include "BSymLink.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BPath.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

BSymLink::BSymLink(const char* path)
{
    SetTo(path);
}

BSymLink::BSymLink(const entry_ref* ref)
{
    SetTo(ref);
}

BSymLink::BSymLink(const BEntry* entry)
{
    SetTo(entry);
}

BSymLink::BSymLink(const BDirectory* dir, const char* path)
{
    SetTo(dir, path);
}

status_t BSymLink::SetTo(const BEntry* entry)
{
    Unset();
    if (entry == nullptr || entry->InitCheck() != B_OK)
        return fStatus = B_BAD_VALUE;
    if (!entry->Exists())
        return fStatus = B_ENTRY_NOT_FOUND;
    fPath = entry->Path();
    return fStatus = B_OK;
}

status_t BSymLink::SetTo(const char* path)
{
    BEntry entry(path);
    return SetTo(&entry);
}

status_t BSymLink::SetTo(const entry_ref* ref)
{
    BEntry entry(ref);
    return SetTo(&entry);
}

status_t BSymLink::SetTo(const BDirectory* dir, const char* path)
{
    BEntry entry(dir, path);
    return SetTo(&entry);
}

void BSymLink::Unset()
{
    fPath.clear();
    fStatus = B_NO_INIT;
}

status_t BSymLink::ReadLink(std::string* target) const
{
    if (target == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    char buffer[PATH_MAX];
    ssize_t length = readlink(fPath.c_str(), buffer, sizeof(buffer));
    if (length < 0)
        return errno == EINVAL ? B_BAD_VALUE : status_from_errno(errno);
    target->assign(buffer, size_t(length));
    return B_OK;
}

ssize_t BSymLink::ReadLink(char* buffer, size_t size) const
{
    if (buffer == nullptr || size == 0)
        return B_BAD_VALUE;
    std::string target;
    status_t status = ReadLink(&target);
    if (status != B_OK)
        return status;
    size_t copied = std::min(target.size(), size - 1);
    memcpy(buffer, target.data(), copied);
    buffer[copied] = '\0';
    return ssize_t(target.size());
}

ssize_t BSymLink::MakeLinkedPath(const char* dirPath, BPath* path) const
{
    if (dirPath == nullptr || path == nullptr)
        return B_BAD_VALUE;
    std::string target;
    status_t status = ReadLink(&target);
    if (status != B_OK)
        return status;
    status = target[0] == '/' ? path->SetTo(target.c_str()) : path->SetTo(dirPath, target.c_str());
    if (status != B_OK)
        return status;
    return ssize_t(strlen(path->Path()));
}

ssize_t BSymLink::MakeLinkedPath(const BDirectory* dir, BPath* path) const
{
    if (dir == nullptr || dir->InitCheck() != B_OK)
        return B_BAD_VALUE;
    return MakeLinkedPath(dir->Path(), path);
}

bool BSymLink::IsAbsolute() const
{
    std::string target;
    return ReadLink(&target) == B_OK && target[0] == '/';
}
