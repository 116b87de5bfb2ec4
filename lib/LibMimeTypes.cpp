#include "LibMimeTypes.h"

#include "BEntry.h"
#include "BNode.h"
#include "BNodeInfo.h"
#include "BResources.h"
#include "FileTypes.h"
#include "RunningExecutable.h"

#include <cstring>
#include <string>

namespace {

void CopyType(const char* text, char* type)
{
    size_t length = strnlen(text, B_MIME_TYPE_LENGTH - 1);
    memcpy(type, text, length);
    type[length] = '\0';
}

const char* Description(const std::string& type, bool isLink)
{
    if (type == kDirectoryMimeType)
        return "Folder";
    if (type == kExecutableMimeType)
        return "Be Application";
    if (isLink)
        return "Symbolic Link";
    return "Unknown";
}

// The running program's signature, from its own resources.
std::string OwnSignature()
{
    std::string executable;
    if (get_running_executable_path(executable) != B_OK)
        return {};
    BResources resources;
    if (resources.SetTo(executable.c_str()) != B_OK)
        return {};
    size_t size = 0;
    const char* data
        = static_cast<const char*>(resources.LoadResource(B_MIME_TYPE, "BEOS:APP_SIG", &size));
    return data != nullptr ? std::string(data, strnlen(data, size)) : std::string();
}

} // namespace

bool LibGetMimeType(const entry_ref& ref, char* type, bool describe)
{
    if (type == nullptr)
        return false;
    type[0] = '\0';
    BEntry entry(&ref);
    BNode node(&ref);
    if (entry.InitCheck() != B_OK || node.InitCheck() != B_OK)
        return false;
    char stored[B_MIME_TYPE_LENGTH] = "";
    BNodeInfo info(&node);
    std::string found;
    if (info.GetType(stored) == B_OK && stored[0] != '\0')
        found = stored;
    else
        found = detect_mime_type(entry.Path());
    CopyType(describe ? Description(found, entry.IsSymLink()) : found.c_str(), type);
    return true;
}

bool LibSetMimeType(const char* path, const char* type)
{
    if (path == nullptr || type == nullptr)
        return false;
    BNode node(path);
    BNodeInfo info(&node);
    return node.InitCheck() == B_OK && info.SetType(type) == B_OK;
}

bool LibSetFileType(const char* path, const char* type, const char* preferredApp)
{
    if (!LibSetMimeType(path, type))
        return false;
    std::string signature = preferredApp != nullptr ? preferredApp : OwnSignature();
    if (signature.empty())
        return false;
    BNode node(path);
    BNodeInfo info(&node);
    return node.InitCheck() == B_OK && info.SetPreferredApp(signature.c_str()) == B_OK;
}
