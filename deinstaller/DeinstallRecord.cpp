#include "DeinstallRecord.h"

#include "oResources.h"

#include <cstdio>

namespace {

const char* StringOf(const BMessage& record, const char* name)
{
    const char* value = record.FindString(name);
    return value != nullptr ? value : "";
}

LibString TagIf(const BMessage& record, const char* flag, const char* tag)
{
    bool on = false;
    if (record.FindBool(flag, &on) != B_OK || !on)
        return LibString("");
    return LibString(StringOf(record, tag));
}

} // namespace

bool ReadDeinstallRecord(BMessage& record)
{
    record.MakeEmpty();
    oResources resources(B_READ_ONLY);
    if (!resources.HasResource(B_STRING_TYPE, kDeinstallRecordId)) {
        fprintf(stderr, "Does not have resource %d\n", int(kDeinstallRecordId));
        return false;
    }
    size_t size = 0;
    const void* data = resources.LoadResource(B_STRING_TYPE, kDeinstallRecordId, &size);
    if (data == nullptr || resources.VerifyResource(B_STRING_TYPE, kDeinstallRecordId) != B_OK
        || record.Unflatten(static_cast<const char*>(data), size) != B_OK) {
        record.MakeEmpty();
        fprintf(stderr, "Unable to read resource %d\n", int(kDeinstallRecordId));
        return false;
    }
    return true;
}

LibString DeinstallKey(const BMessage& record)
{
    LibString key("");
    for (const char* name : {"app_name", "version", "release_date", "company", "support_email"})
        key.Concat(StringOf(record, name)).Concat(";");
    return key;
}

ScriptTags DeinstallScriptTags(const BMessage& record)
{
    return {TagIf(record, "edit_bootscript", "edit_bootscript_tag"),
        TagIf(record, "edit_setup_env", "edit_setup_env_tag"),
        TagIf(record, "edit_profile", "edit_profile_tag")};
}
