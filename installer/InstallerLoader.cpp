#include "InstallerLoader.h"

#include "BPath.h"
#include "BResources.h"
#include "FindDirectory.h"
#include "InstallConfig.h"
#include "LibAppResource.h"
#include "LibStdDirNames.h"
#include "RecordReader.h"
#include "WorkingDirectory.h"

#include <cstdio>
#include <cstring>

bool InstallerLoader::LoadRecord(BResources& resources, InstallConfig& config)
{
    return RecordReader::Load(resources, config);
}

bool InstallerLoader::LoadRecord(InstallConfig& config)
{
    LibAppResource resources(B_READ_ONLY);
    return LoadRecord(resources, config);
}

bool InstallerLoader::DefaultFolder(const InstallConfig& config, BPath& folder)
{
    const char* name = nullptr;
    if (config.FindString("opt_default_folder", &name) == B_OK) {
        if (strcmp(name, "Current") == 0) {
            std::string working = working_directory();
            return !working.empty() && folder.SetTo(working.c_str()) == B_OK;
        }
        directory_which which;
        if (LibGetStdDirName(name, which) && find_directory(which, &folder, true) == B_OK)
            return true;
    }
    return find_directory(B_USER_DIRECTORY, &folder, true) == B_OK;
}

std::vector<bool> InstallerLoader::DefaultSelection(const InstallConfig& config)
{
    std::vector<bool> selected;
    BMessage groups;
    const char* first = nullptr;
    bool haveGroup = config.FindMessage("groups", &groups) == B_OK
        && groups.FindString("group_name", &first) == B_OK;
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i)
        selected.push_back(
            haveGroup && InstallConfig::IsInGroup(entry.FindString("groups"), first));
    return selected;
}
