#include "LibAppInfo.h"

#include "BMessage.h"
#include "BNodeInfo.h"
#include "BResources.h"
#include "FileTypes.h"
#include "RunningExecutable.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int32 kAppInfoId = 1;
constexpr const char* kTypesField = "types";

std::string RunningPath()
{
    std::string path;
    return get_running_executable_path(path) == B_OK ? path : std::string();
}

std::string EntryPath(const entry_ref& ref)
{
    if (!ref.IsSet() || ref.directoryPath.empty())
        return {};
    std::string path = ref.directoryPath;
    if (path.back() != '/')
        path += '/';
    return path + ref.name;
}

} // namespace

int32 LibGetAppSupportedTypes(LibStringList& types)
{
    BFile executable(RunningPath().c_str(), B_READ_ONLY);
    BResources resources(&executable);
    size_t size = 0;
    const void* data = resources.LoadResource(B_MESSAGE_TYPE, kAppFileTypesName, &size);
    BMessage message;
    if (data != nullptr && message.Unflatten(static_cast<const char*>(data), size) == B_OK)
        types.Append(message, kTypesField);
    return types.Size();
}

bool LibSetAppSupportedTypes(LibStringList& types)
{
    std::string path = RunningPath();
    BResources resources(path.c_str());
    if (resources.InitCheck() != B_OK)
        return false;
    BMessage message;
    types.GetFrom(message, kTypesField);
    std::string flat = message.Flatten();
    int32 id = kAppInfoId;
    resources.GetResourceInfo(B_MESSAGE_TYPE, kAppFileTypesName, &id, nullptr);
    size_t size = 0;
    const void* old = resources.LoadResource(B_MESSAGE_TYPE, id, &size);
    if (old != nullptr && size == flat.size() && memcmp(old, flat.data(), size) == 0)
        return true;
    status_t status
        = resources.AddResource(B_MESSAGE_TYPE, id, flat.data(), flat.size(), kAppFileTypesName);
    if (status == B_OK)
        status = resources.Sync();
    return status == B_OK;
}

void LibGetAppSignature(const entry_ref& ref, char* signature)
{
    if (signature == nullptr)
        return;
    signature[0] = '\0';
    std::string path = EntryPath(ref);
    if (path.empty())
        return;
    BNode node(path.c_str());
    BNodeInfo info(&node);
    char type[B_MIME_TYPE_LENGTH] = {};
    if (info.GetType(type) != B_OK)
        strncpy(type, detect_mime_type(path.c_str()).c_str(), sizeof type - 1);
    if (strcmp(type, kExecutableMimeType) != 0)
        return;
    BFile executable(path.c_str(), B_READ_ONLY);
    BResources resources(&executable);
    size_t size = 0;
    const auto* data
        = static_cast<const char*>(resources.LoadResource(B_MIME_TYPE, kAppSignatureName, &size));
    if (data == nullptr)
        return;
    size = strnlen(data, std::min<size_t>(size, B_MIME_TYPE_LENGTH - 1));
    memcpy(signature, data, size);
    signature[size] = '\0';
}
