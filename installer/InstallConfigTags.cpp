#include "InstallConfig.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "LibNode.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

status_t WriteTag(LibNode& node, const char* tag)
{
    node.RemoveAttr(kInstallByAttr);
    ssize_t written = node.WriteStringAttr(kInstallByAttr, tag);
    return written < 0 ? status_t(written) : B_OK;
}

// An item installed read-only (mode 0444, say) refuses attributes to anyone
// but root. Its owner may lift the protection for the moment of tagging;
// otherwise the deinstaller would never find the item.
void WriteTagUnprotected(BEntry& entry, LibNode& node, const char* tag)
{
    mode_t permissions = 0;
    if (entry.GetPermissions(&permissions) != B_OK || (permissions & S_IWUSR) != 0)
        return;
    if (entry.SetPermissions(permissions | S_IWUSR) != B_OK)
        return;
    WriteTag(node, tag);
    entry.SetPermissions(permissions);
}

} // namespace

void InstallConfig::AddDeinstallTag(const char* path, const char* tag)
{
    if (path == nullptr || *path == '\0' || tag == nullptr)
        return;
    TagEntry(path, tag);
}

void InstallConfig::TagEntry(const char* path, const char* tag)
{
    LibNode node(path);
    if (node.InitCheck() != B_OK)
        return;
    BEntry entry(path);
    if (WriteTag(node, tag) == B_PERMISSION_DENIED)
        WriteTagUnprotected(entry, node, tag);
    if (!entry.IsDirectory())
        return;
    // The names are read first and the folder closed before going down, so
    // a deep tree never holds more than one folder open.
    std::vector<std::string> children;
    {
        BDirectory folder(path);
        BEntry child;
        while (folder.GetNextEntry(&child, false) == B_OK) {
            if (child.Path() != nullptr)
                children.emplace_back(child.Path());
        }
    }
    // A stop is honoured between entries of a folder only, so that a single
    // file or a link just placed is always tagged whole.
    for (const std::string& child : children) {
        CheckCancel();
        TagEntry(child.c_str(), tag);
    }
}
