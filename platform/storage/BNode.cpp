#include "BNode.h"

#include "XattrFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

std::string AbsolutePath(const char* path)
{
    std::string result = path;
    if (!result.empty() && result[0] == '/')
        return result;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr)
        return {};
    std::string base = cwd;
    if (base.back() != '/')
        base += '/';
    return base + result;
}

} // namespace

BNode::BNode() = default;

BNode::BNode(const char* path)
{
    SetTo(path);
}

BNode::BNode(const entry_ref* ref)
{
    SetTo(ref);
}

BNode::BNode(const BNode& node)
{
    *this = node;
}

BNode& BNode::operator=(const BNode& node)
{
    if (this == &node)
        return *this;
    Unset();
    if (node.fStatus == B_OK)
        SetToPath(node.fTarget.path);
    return *this;
}

BNode::~BNode() = default;

status_t BNode::SetTo(const char* path)
{
    Unset();
    if (path == nullptr || *path == '\0')
        return fStatus = B_BAD_VALUE;
    std::string absolute = AbsolutePath(path);
    if (absolute.empty())
        return fStatus = status_from_errno(errno);
    return SetToPath(absolute);
}

status_t BNode::SetTo(const entry_ref* ref)
{
    Unset();
    if (ref == nullptr || !ref->IsSet() || ref->directoryPath.empty())
        return fStatus = B_BAD_VALUE;
    std::string folder = ref->directoryPath;
    if (folder.back() != '/')
        folder += '/';
    return SetToPath(folder + ref->name);
}

status_t BNode::SetToPath(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return fStatus = status_from_errno(errno);
    fTarget.path = path;
    fTarget.fd = -1;
    // The kernel keeps user attributes on files and folders only.
    fTarget.useStoreOnly = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    return fStatus = B_OK;
}

status_t BNode::SetToDescriptor(int fd, const std::string& absolutePath)
{
    BNode::Unset(); // not the derived one: it would close `fd`
    struct stat st;
    if (fstat(fd, &st) != 0)
        return fStatus = status_from_errno(errno);
    fTarget.path = absolutePath;
    fTarget.fd = fd;
    fTarget.useStoreOnly = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    return fStatus = B_OK;
}

void BNode::Unset()
{
    fTarget = NodeAttributeIO::Target();
    fStatus = B_NO_INIT;
    fAttrNames.clear();
    fNextAttr = 0;
    fAttrsListed = false;
}

status_t BNode::InitCheck() const
{
    return fStatus;
}

status_t BNode::GetStat(struct stat* st) const
{
    if (fStatus != B_OK)
        return fStatus;
    if (st == nullptr)
        return B_BAD_VALUE;
    int result = fTarget.fd >= 0 ? fstat(fTarget.fd, st) : lstat(fTarget.path.c_str(), st);
    return result == 0 ? B_OK : status_from_errno(errno);
}

ssize_t BNode::WriteAttr(
    const char* name, type_code type, off_t offset, const void* buffer, size_t length)
{
    if (fStatus != B_OK)
        return fStatus;
    if (name == nullptr || *name == '\0' || offset < 0 || (buffer == nullptr && length > 0))
        return B_BAD_VALUE;
    if (strlen(name) > XattrFormat::kMaxNameLength)
        return B_NAME_TOO_LONG;
    if (uint64(offset) + length > AttributeStore::kMaxAttributeSize)
        return B_BAD_VALUE;
    std::string canonical = NodeAttributeIO::CanonicalName(name);
    std::string data;
    // Writing at offset 0 replaces the attribute; further pieces go into
    // the bytes already there, a gap filled with zeros.
    if (offset > 0) {
        type_code oldType;
        status_t status = NodeAttributeIO::Read(fTarget, canonical, oldType, data);
        if (status != B_OK && status != B_ENTRY_NOT_FOUND)
            return status;
        if (data.size() < uint64(offset) + length)
            data.resize(size_t(offset) + length, '\0');
    } else {
        data.resize(length);
    }
    if (length > 0)
        memcpy(data.data() + offset, buffer, length);
    status_t status = NodeAttributeIO::Write(fTarget, canonical, type, data);
    return status == B_OK ? ssize_t(length) : status;
}

ssize_t BNode::ReadAttr(
    const char* name, type_code type, off_t offset, void* buffer, size_t length) const
{
    if (fStatus != B_OK)
        return fStatus;
    if (name == nullptr || offset < 0 || (buffer == nullptr && length > 0))
        return B_BAD_VALUE;
    type_code found;
    std::string data;
    status_t status
        = NodeAttributeIO::Read(fTarget, NodeAttributeIO::CanonicalName(name), found, data);
    if (status != B_OK)
        return status;
    if (uint64(offset) >= data.size())
        return 0;
    size_t count = std::min(length, data.size() - size_t(offset));
    memcpy(buffer, data.data() + offset, count);
    return ssize_t(count);
}

status_t BNode::RemoveAttr(const char* name)
{
    if (fStatus != B_OK)
        return fStatus;
    if (name == nullptr)
        return B_BAD_VALUE;
    return NodeAttributeIO::Remove(fTarget, NodeAttributeIO::CanonicalName(name));
}

status_t BNode::RenameAttr(const char* oldName, const char* newName)
{
    if (fStatus != B_OK)
        return fStatus;
    if (oldName == nullptr || newName == nullptr || *newName == '\0')
        return B_BAD_VALUE;
    std::string from = NodeAttributeIO::CanonicalName(oldName);
    std::string to = NodeAttributeIO::CanonicalName(newName);
    type_code type;
    std::string data;
    status_t status = NodeAttributeIO::Read(fTarget, from, type, data);
    if (status != B_OK || from == to)
        return status;
    status = NodeAttributeIO::Write(fTarget, to, type, data);
    if (status != B_OK)
        return status;
    return NodeAttributeIO::Remove(fTarget, from);
}

status_t BNode::GetAttrInfo(const char* name, attr_info* info) const
{
    if (fStatus != B_OK)
        return fStatus;
    if (name == nullptr || info == nullptr)
        return B_BAD_VALUE;
    type_code type;
    off_t size;
    status_t status
        = NodeAttributeIO::GetInfo(fTarget, NodeAttributeIO::CanonicalName(name), type, size);
    if (status != B_OK)
        return status;
    info->type = type;
    info->size = size;
    return B_OK;
}

status_t BNode::GetNextAttrName(char* buffer)
{
    if (fStatus != B_OK)
        return fStatus;
    if (buffer == nullptr)
        return B_BAD_VALUE;
    if (!fAttrsListed) {
        status_t status = NodeAttributeIO::List(fTarget, fAttrNames);
        if (status != B_OK)
            return status;
        fAttrsListed = true;
        fNextAttr = 0;
    }
    // Names longer than the kit's buffer cannot be handed out; skip them.
    while (fNextAttr < fAttrNames.size() && fAttrNames[fNextAttr].size() >= B_ATTR_NAME_LENGTH)
        ++fNextAttr;
    if (fNextAttr >= fAttrNames.size()) {
        buffer[0] = '\0';
        return B_ENTRY_NOT_FOUND;
    }
    const std::string& name = fAttrNames[fNextAttr++];
    memcpy(buffer, name.c_str(), name.size() + 1);
    return B_OK;
}

status_t BNode::RewindAttrs()
{
    if (fStatus != B_OK)
        return fStatus;
    fAttrNames.clear();
    fNextAttr = 0;
    fAttrsListed = false;
    return B_OK;
}

bool BNode::operator==(const BNode& other) const
{
    if (fStatus != B_OK || other.fStatus != B_OK)
        return fStatus == other.fStatus;
    struct stat mine, theirs;
    if (GetStat(&mine) != B_OK || other.GetStat(&theirs) != B_OK)
        return false;
    return mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}
