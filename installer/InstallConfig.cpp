#include "InstallConfig.h"

#include "DeinstallRecord.h"
#include "StartupSection.h"

InstallConfig::InstallConfig() = default;

InstallConfig::~InstallConfig()
{
    // The run works on this record's keys and members: stop it before they go.
    StopThread();
    // A stopped run leaves its log open.
    CloseLog();
}

status_t InstallConfig::Load(const char* data, size_t size)
{
    MakeEmpty();
    what = 0;
    if (data == nullptr)
        return B_BAD_VALUE;
    return Unflatten(data, size);
}

BMessage InstallConfig::DeinstallerRecord() const
{
    return MakeDeinstallRecord(*this);
}

void InstallConfig::PrintToStream()
{
    LibThread::PrintToStream();
    BMessage instructions;
    if (FindMessage("install_instructions", &instructions) != B_OK)
        return;
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i)
        entry.PrintToStream();
}

void InstallConfig::BuildStartupString(const char* folder, LibString& out)
{
    out = StartupSectionText(folder);
}
