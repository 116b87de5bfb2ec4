#include "InstallConfig.h"

#include "StartupSection.h"

namespace {

const char* const kIdentityKeys[]
    = {"app_name", "version", "release_date", "company", "support_email"};

// Each script edit: its switch, and the tag the deinstaller looks for.
const char* const kScriptEditKeys[][2] = {
    {"edit_bootscript", "edit_bootscript_tag"},
    {"edit_setup_env", "edit_setup_env_tag"},
    {"edit_profile", "edit_profile_tag"},
};

} // namespace

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
    BMessage record;
    for (const char* key : kIdentityKeys)
        record.AddString(key, FindString(key));
    BMessage aboutImage;
    if (FindMessage("about_image", &aboutImage) == B_OK)
        record.AddMessage("about_image", &aboutImage);
    for (const auto& [edit, tag] : kScriptEditKeys) {
        bool enabled = FindBool(edit);
        record.AddBool(edit, enabled);
        if (enabled)
            record.AddString(tag, FindString(tag));
    }
    return record;
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
