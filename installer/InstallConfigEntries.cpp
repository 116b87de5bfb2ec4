#include "InstallConfig.h"

#include "BPath.h"
#include "DeinstallRecord.h"
#include "LibStringIterator.h"

#include <cstring>

namespace {

// Sets "install_to_system" of entry `index` of `instructions`.
void SetMark(BMessage& instructions, int32 index, bool install)
{
    BMessage entry;
    if (instructions.FindMessage("install_file", index, &entry) != B_OK)
        return;
    if (entry.ReplaceBool("install_to_system", install) != B_OK)
        entry.AddBool("install_to_system", install);
    instructions.ReplaceMessage("install_file", index, &entry);
}

} // namespace

std::string InstallConfig::EntryLeaf(const BMessage& entry)
{
    const char* fileName = nullptr;
    if (entry.FindString("file_name", &fileName) != B_OK || *fileName == '\0')
        return {};
    BPath path(fileName);
    return path.InitCheck() == B_OK && path.Leaf() != nullptr ? path.Leaf() : "";
}

void InstallConfig::MarkInstallFile(const char* leaf, const bool& install)
{
    if (leaf == nullptr)
        return;
    BMessage instructions;
    if (FindMessage("install_instructions", &instructions) != B_OK)
        return;
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        if (EntryLeaf(entry) != leaf)
            continue;
        SetMark(instructions, i, install);
        ReplaceMessage("install_instructions", &instructions);
        return;
    }
}

void InstallConfig::MarkInstallFiles(const std::vector<bool>& install)
{
    BMessage instructions;
    if (FindMessage("install_instructions", &instructions) != B_OK)
        return;
    for (size_t i = 0; i < install.size(); ++i)
        SetMark(instructions, int32(i), install[i]);
    ReplaceMessage("install_instructions", &instructions);
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
