#include "NodeAttributeIO.h"

#include "AttributeStore.h"
#include "XattrFormat.h"

#include <algorithm>
#include <cerrno>
#include <sys/xattr.h>

namespace NodeAttributeIO {

namespace {

bool Refused(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP;
}

bool TooLarge(int error)
{
    return error == E2BIG || error == ENOSPC || error == ERANGE;
}

// One xattr's value; the errno of the failure otherwise.
int GetXattr(const Target& target, const std::string& xname, std::string& value)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        ssize_t size = target.fd >= 0 ? fgetxattr(target.fd, xname.c_str(), nullptr, 0)
                                      : lgetxattr(target.path.c_str(), xname.c_str(), nullptr, 0);
        if (size < 0)
            return errno;
        value.resize(size_t(size));
        ssize_t got = target.fd >= 0
            ? fgetxattr(target.fd, xname.c_str(), value.data(), value.size())
            : lgetxattr(target.path.c_str(), xname.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(size_t(got));
            return 0;
        }
        if (errno != ERANGE) // ERANGE: the value grew in between; ask again
            return errno;
    }
    return ERANGE;
}

int SetXattr(const Target& target, const std::string& xname, const std::string& value)
{
    int result = target.fd >= 0
        ? fsetxattr(target.fd, xname.c_str(), value.data(), value.size(), 0)
        : lsetxattr(target.path.c_str(), xname.c_str(), value.data(), value.size(), 0);
    return result == 0 ? 0 : errno;
}

int RemoveXattr(const Target& target, const std::string& xname)
{
    int result = target.fd >= 0 ? fremovexattr(target.fd, xname.c_str())
                                : lremovexattr(target.path.c_str(), xname.c_str());
    return result == 0 ? 0 : errno;
}

int ListXattrs(const Target& target, std::string& list)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        ssize_t size = target.fd >= 0 ? flistxattr(target.fd, nullptr, 0)
                                      : llistxattr(target.path.c_str(), nullptr, 0);
        if (size < 0)
            return errno;
        list.resize(size_t(size));
        ssize_t got = target.fd >= 0 ? flistxattr(target.fd, list.data(), list.size())
                                     : llistxattr(target.path.c_str(), list.data(), list.size());
        if (got >= 0) {
            list.resize(size_t(got));
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
    return ERANGE;
}

status_t KeyOf(const Target& target, AttributeStore::NodeKey& key)
{
    return target.fd >= 0 ? AttributeStore::KeyForDescriptor(target.fd, key)
                          : AttributeStore::KeyForPath(target.path, key);
}

status_t StoreRead(
    const Target& target, const std::string& name, type_code& type, std::string& data)
{
    AttributeStore::NodeKey key;
    status_t status = KeyOf(target, key);
    if (status != B_OK)
        return status;
    AttributeStore::Attribute attribute;
    status = AttributeStore::Find(key, name, attribute);
    if (status != B_OK)
        return status;
    type = attribute.type;
    data = std::move(attribute.data);
    return B_OK;
}

status_t StoreWrite(
    const Target& target, const std::string& name, type_code type, const std::string& data)
{
    AttributeStore::NodeKey key;
    status_t status = KeyOf(target, key);
    if (status != B_OK)
        return status;
    return AttributeStore::Put(key, target.path, {name, type, data});
}

status_t StoreRemove(const Target& target, const std::string& name)
{
    AttributeStore::NodeKey key;
    status_t status = KeyOf(target, key);
    if (status != B_OK)
        return status;
    return AttributeStore::Remove(key, name);
}

status_t StoreList(const Target& target, std::vector<std::string>& names)
{
    AttributeStore::NodeKey key;
    status_t status = KeyOf(target, key);
    if (status != B_OK)
        return status;
    std::vector<AttributeStore::Attribute> attributes;
    status = AttributeStore::ReadAll(key, attributes);
    for (const auto& attribute : attributes)
        names.push_back(attribute.name);
    return status;
}

// Keeps a value too large for an extended attribute in the store, with a
// stub in the xattr that names its type and size.
status_t Spill(const Target& target, const std::string& name, const std::string& xname,
    type_code type, const std::string& data)
{
    status_t status = StoreWrite(target, name, type, data);
    if (status != B_OK)
        return status;
    int error = SetXattr(target, xname, XattrFormat::EncodeSpilled(type, data.size()));
    if (error != 0) {
        StoreRemove(target, name);
        return status_from_errno(error);
    }
    return B_OK;
}

} // namespace

std::string CanonicalName(const char* name)
{
    std::string result = name ? name : "";
    return result == "mime_type" ? "BEOS:TYPE" : result;
}

status_t Read(const Target& target, const std::string& name, type_code& type, std::string& data)
{
    if (target.useStoreOnly)
        return StoreRead(target, name, type, data);
    std::string xname = XattrFormat::XattrName(name);
    if (xname.empty())
        return B_BAD_VALUE;
    std::string value;
    int error = GetXattr(target, xname, value);
    if (Refused(error))
        return StoreRead(target, name, type, data);
    if (error != 0)
        return status_from_errno(error);
    XattrFormat::Decoded decoded = XattrFormat::Decode(name, value);
    type = decoded.type;
    if (!decoded.spilled) {
        data = std::move(decoded.data);
        return B_OK;
    }
    type_code storedType;
    status_t status = StoreRead(target, name, storedType, data);
    // A stub whose record is gone (the store was cleared) reads as damaged.
    return status == B_ENTRY_NOT_FOUND ? B_BAD_DATA : status;
}

status_t GetInfo(const Target& target, const std::string& name, type_code& type, off_t& size)
{
    std::string data;
    if (!target.useStoreOnly) {
        std::string xname = XattrFormat::XattrName(name);
        if (xname.empty())
            return B_BAD_VALUE;
        std::string value;
        int error = GetXattr(target, xname, value);
        if (error == 0) {
            XattrFormat::Decoded decoded = XattrFormat::Decode(name, value);
            type = decoded.type;
            size = decoded.spilled ? off_t(decoded.spilledSize) : off_t(decoded.data.size());
            return B_OK;
        }
        if (!Refused(error))
            return status_from_errno(error);
    }
    status_t status = StoreRead(target, name, type, data);
    size = off_t(data.size());
    return status;
}

status_t Write(
    const Target& target, const std::string& name, type_code type, const std::string& given)
{
    std::string data = given;
    // The file type reads back with exactly one terminating zero wherever
    // it is kept, as the extended attribute form has none.
    if (name == "BEOS:TYPE" && type == B_MIME_TYPE && (data.empty() || data.back() != '\0'))
        data.push_back('\0');
    if (data.size() > AttributeStore::kMaxAttributeSize)
        return B_BAD_VALUE;
    if (target.useStoreOnly)
        return StoreWrite(target, name, type, data);
    std::string xname = XattrFormat::XattrName(name);
    if (xname.empty())
        return B_BAD_VALUE;
    std::string old;
    bool wasSpilled = !target.fresh && GetXattr(target, xname, old) == 0
        && XattrFormat::Decode(name, old).spilled;
    std::string value = XattrFormat::Encode(name, type, data);
    if (value.size() > XattrFormat::kMaxXattrValue)
        return Spill(target, name, xname, type, data);
    int error = SetXattr(target, xname, value);
    if (Refused(error))
        return StoreWrite(target, name, type, data);
    if (TooLarge(error))
        return Spill(target, name, xname, type, data);
    if (error != 0)
        return status_from_errno(error);
    if (wasSpilled)
        StoreRemove(target, name);
    return B_OK;
}

status_t Remove(const Target& target, const std::string& name)
{
    if (target.useStoreOnly)
        return StoreRemove(target, name);
    std::string xname = XattrFormat::XattrName(name);
    if (xname.empty())
        return B_BAD_VALUE;
    std::string old;
    int error = GetXattr(target, xname, old);
    if (Refused(error))
        return StoreRemove(target, name);
    if (error != 0)
        return status_from_errno(error);
    error = RemoveXattr(target, xname);
    if (error != 0)
        return status_from_errno(error);
    if (XattrFormat::Decode(name, old).spilled)
        StoreRemove(target, name);
    return B_OK;
}

status_t List(const Target& target, std::vector<std::string>& names)
{
    names.clear();
    if (target.useStoreOnly)
        return StoreList(target, names);
    std::string list;
    int error = ListXattrs(target, list);
    if (Refused(error))
        return StoreList(target, names);
    if (error != 0)
        return status_from_errno(error);
    // A file system may list extended attributes yet refuse user ones; what
    // it refused went to the store.
    std::vector<std::string> stored;
    StoreList(target, stored);
    for (size_t at = 0; at < list.size();) {
        size_t end = list.find('\0', at);
        if (end == std::string::npos)
            end = list.size();
        std::string name = XattrFormat::AttributeName(list.substr(at, end - at));
        if (!name.empty())
            names.push_back(name);
        at = end + 1;
    }
    for (const std::string& name : stored) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return B_OK;
}

} // namespace NodeAttributeIO
