#include "LibNode.h"

#include <cstring>

LibNode::LibNode() = default;

LibNode::LibNode(const char* path)
    : BNode(path)
{ }

LibNode::LibNode(const entry_ref* ref)
    : BNode(ref)
{ }

LibNode::LibNode(const BEntry* entry)
    : BNode(entry != nullptr ? entry->Path() : nullptr)
{ }

LibNode::~LibNode() = default;

status_t LibNode::ReadWhole(const char* name, std::string& data)
{
    attr_info info;
    status_t status = GetAttrInfo(name, &info);
    if (status != B_OK)
        return status;
    data.assign(size_t(info.size), '\0');
    ssize_t got = ReadAttr(name, info.type, 0, data.data(), data.size());
    if (got < 0)
        return status_t(got);
    data.resize(size_t(got));
    return B_OK;
}

ssize_t LibNode::WriteStringAttr(const char* name, const char* value)
{
    if (value == nullptr)
        value = "";
    return WriteAttr(name, B_STRING_TYPE, 0, value, strlen(value));
}

ssize_t LibNode::ReadStringAttr(const char* name, LibString& value)
{
    std::string data;
    status_t status = ReadWhole(name, data);
    if (status != B_OK) {
        value = "";
        return status;
    }
    value = data.c_str();
    return ssize_t(data.size());
}

ssize_t LibNode::WriteBoolAttr(const char* name, const bool& value)
{
    uint8 byte = value ? 1 : 0;
    return WriteAttr(name, B_BOOL_TYPE, 0, &byte, 1);
}

bool LibNode::ReadBoolAttr(const char* name, bool& value)
{
    std::string data;
    if (ReadWhole(name, data) != B_OK || data.size() != 1)
        return false;
    value = data[0] != 0;
    return true;
}

ssize_t LibNode::WriteInt32Attr(const char* name, const long& value)
{
    if (value < INT32_MIN || value > INT32_MAX)
        return B_BAD_VALUE;
    int32 number = int32(value);
    return WriteAttr(name, B_INT32_TYPE, 0, &number, sizeof number);
}

bool LibNode::ReadInt32Attr(const char* name, long& value)
{
    std::string data;
    if (ReadWhole(name, data) == B_OK && data.size() == sizeof(int32)) {
        int32 number;
        memcpy(&number, data.data(), sizeof number);
        value = number;
    }
    return true;
}

void LibNode::WriteMessageAttr(const char* name, const BMessage& message)
{
    std::string flat = message.Flatten();
    WriteAttr(name, B_RAW_TYPE, 0, flat.data(), flat.size());
}

bool LibNode::ReadMessageAttr(const char* name, BMessage& message)
{
    std::string data;
    if (ReadWhole(name, data) != B_OK)
        return false;
    return message.Unflatten(data) == B_OK;
}
