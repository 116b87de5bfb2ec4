#include "InstallConfig.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "LibNode.h"

#include <string>
#include <vector>

void InstallConfig::AddDeinstallTag(const char* path, const char* tag)
{
    if (path == nullptr || *path == '\0' || tag == nullptr)
        return;
    TagEntry(path, tag);
}

void InstallConfig::TagEntry(const char* path, const char* tag)
{
    CheckCancel();
    LibNode node(path);
    if (node.InitCheck() != B_OK)
        return;
    node.RemoveAttr(kDeinstallTagAttr);
    node.WriteStringAttr(kDeinstallTagAttr, tag);

    BEntry entry(path);
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
    for (const std::string& child : children)
        TagEntry(child.c_str(), tag);
}
