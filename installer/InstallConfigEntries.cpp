#include "InstallConfig.h"

#include "BPath.h"
#include "DeinstallRecord.h"
#include "LibStringIterator.h"

#include <cstring>

namespace {

// Whether the entry's "file_name" has the leaf name `leaf`.
bool HasLeaf(const BMessage& entry, const char* leaf)
{
    const char* fileName = nullptr;
    if (entry.FindString("file_name", &fileName) != B_OK || *fileName == '\0')
        return false;
    BPath path(fileName);
    return path.InitCheck() == B_OK && strcmp(path.Leaf(), leaf) == 0;
}

} // namespace

void InstallConfig::MarkInstallFile(const char* leaf, const bool& install)
{
    if (leaf == nullptr)
        return;
    BMessage instructions;
    if (FindMessage("install_instructions", &instructions) != B_OK)
        return;
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        if (!HasLeaf(entry, leaf))
            continue;
        if (entry.ReplaceBool("install_to_system", install) != B_OK)
            entry.AddBool("install_to_system", install);
        instructions.ReplaceMessage("install_file", i, &entry);
        ReplaceMessage("install_instructions", &instructions);
        return;
    }
}

bool InstallConfig::IsInGroup(const char* groups, const char* group)
{
    if (groups == nullptr || group == nullptr || *group == '\0')
        return false;
    LibStringIterator names(groups);
    LibString name;
    while (names.GetNextField(';', name)) {
        if (strcmp(name, group) == 0)
            return true;
    }
    return false;
}

LibString InstallConfig::DeinstallTag() const
{
    return DeinstallKey(*this);
}
