#include "DeinstallRecord.h"

#include "RecordKeys.h"

namespace {

const char* StringOf(const BMessage& record, const char* name)
{
    const char* value = record.FindString(name);
    return value != nullptr ? value : "";
}

LibString TagIf(const BMessage& record, const ScriptEditKeys& edit)
{
    bool on = false;
    if (record.FindBool(edit.flag, &on) != B_OK || !on)
        return LibString("");
    return LibString(StringOf(record, edit.tag));
}

} // namespace

BMessage MakeDeinstallRecord(const BMessage& config)
{
    BMessage record;
    for (const char* key : kIdentityKeys)
        record.AddString(key, StringOf(config, key));
    BMessage aboutImage;
    if (config.FindMessage(kAboutImageKey, &aboutImage) == B_OK)
        record.AddMessage(kAboutImageKey, &aboutImage);
    for (const ScriptEditKeys& edit : kScriptEdits) {
        bool enabled = config.FindBool(edit.flag);
        record.AddBool(edit.flag, enabled);
        if (enabled)
            record.AddString(edit.tag, StringOf(config, edit.tag));
    }
    return record;
}

LibString DeinstallKey(const BMessage& record)
{
    LibString key("");
    for (const char* name : kIdentityKeys)
        key.Concat(StringOf(record, name)).Concat(';');
    return key;
}

ScriptTags DeinstallScriptTags(const BMessage& record)
{
    return {
        TagIf(record, kBootScriptEdit), TagIf(record, kSetupEnvEdit), TagIf(record, kProfileEdit)};
}

std::string ProductLockName(const char* key)
{
    return std::string("product:") + (key != nullptr ? key : "");
}
