#include "BNodeInfo.h"

#include <cstring>

namespace {

constexpr char kTypeAttr[] = "BEOS:TYPE";
constexpr char kPreferredAppAttr[] = "BEOS:PREFERRED_APP";

} // namespace

BNodeInfo::BNodeInfo() = default;

BNodeInfo::BNodeInfo(BNode* node)
{
    SetTo(node);
}

BNodeInfo::~BNodeInfo() = default;

status_t BNodeInfo::SetTo(BNode* node)
{
    fNode = node && node->InitCheck() == B_OK ? node : nullptr;
    return InitCheck();
}

status_t BNodeInfo::InitCheck() const
{
    return fNode ? B_OK : B_NO_INIT;
}

status_t BNodeInfo::GetType(char* type) const
{
    return GetString(kTypeAttr, type);
}

status_t BNodeInfo::SetType(const char* type)
{
    return SetString(kTypeAttr, type);
}

status_t BNodeInfo::GetPreferredApp(char* signature) const
{
    return GetString(kPreferredAppAttr, signature);
}

status_t BNodeInfo::SetPreferredApp(const char* signature)
{
    return SetString(kPreferredAppAttr, signature);
}

status_t BNodeInfo::GetString(const char* name, char* buffer) const
{
    if (fNode == nullptr)
        return B_NO_INIT;
    if (buffer == nullptr)
        return B_BAD_VALUE;
    attr_info info;
    status_t status = fNode->GetAttrInfo(name, &info);
    if (status != B_OK)
        return status;
    if (info.size > B_MIME_TYPE_LENGTH)
        return B_BAD_DATA;
    ssize_t read = fNode->ReadAttr(name, B_MIME_TYPE, 0, buffer, B_MIME_TYPE_LENGTH);
    if (read < 0)
        return status_t(read);
    size_t length = strnlen(buffer, size_t(read));
    if (length >= B_MIME_TYPE_LENGTH)
        return B_BAD_DATA;
    buffer[length] = '\0';
    return B_OK;
}

status_t BNodeInfo::SetString(const char* name, const char* value)
{
    if (fNode == nullptr)
        return B_NO_INIT;
    if (value == nullptr) {
        status_t status = fNode->RemoveAttr(name);
        return status == B_ENTRY_NOT_FOUND ? B_OK : status;
    }
    size_t length = strlen(value);
    if (length >= B_MIME_TYPE_LENGTH)
        return B_BAD_VALUE;
    ssize_t wrote = fNode->WriteAttr(name, B_MIME_TYPE, 0, value, length + 1);
    return wrote < 0 ? status_t(wrote) : B_OK;
}
