#include "RequirementProbe.h"

#include "BRoster.h"
#include "BVolume.h"
#include "InstallConfig.h"
#include "LibSysInfo.h"
#include "SharedLibraries.h"

#include <algorithm>

bool RequirementProbe::DestinationVolume(
    const entry_ref& destination, LibString& name, int64& freeBytes)
{
    name = "";
    freeBytes = 0;
    BVolume volume;
    if (InstallConfig::FolderVolume(destination, volume) != B_OK)
        return false;
    name = volume.Name();
    freeBytes = std::max<int64>(volume.FreeBytes(), 0);
    return true;
}

int32 RequirementProbe::MemoryMegabytes()
{
    return LibSysInfo().Memory();
}

bool RequirementProbe::HasSharedLibrary(const char* name)
{
    return find_shared_library(name, nullptr);
}

bool RequirementProbe::HasApplication(const char* signature)
{
    return be_roster->FindApp(signature, nullptr) == B_OK;
}
