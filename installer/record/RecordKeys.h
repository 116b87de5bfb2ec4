// What the installer, the deinstaller it places and the builder agree on:
// where a record and the payload lie among an executable's resources, the
// record keys the deinstaller reads, and the attribute that marks what an
// installation placed.
#pragma once

#include "SupportDefs.h"

// Resources of an installer; a placed deinstaller carries its reduced record
// under the same type, id and name.
constexpr int32 kDeinstallerPayloadId = 2001;
constexpr int32 kConfigurationId = 2002;
constexpr const char* kConfigurationName = "STK:configuration";
// Payload item i of "install_instructions" is 'RAWT' kFirstItemPayloadId + i.
constexpr int32 kFirstItemPayloadId = 2100;

// The attribute an installation writes on every entry the deinstaller may
// remove, holding the deinstall tag.
constexpr const char* kInstallByAttr = "InstallBy";

// The product's identity, in the order the deinstall tag joins them.
constexpr const char* kAppNameKey = "app_name";
constexpr const char* kVersionKey = "version";
constexpr const char* kReleaseDateKey = "release_date";
constexpr const char* kCompanyKey = "company";
constexpr const char* kSupportEmailKey = "support_email";
inline constexpr const char* kIdentityKeys[]
    = {kAppNameKey, kVersionKey, kReleaseDateKey, kCompanyKey, kSupportEmailKey};

constexpr const char* kAboutImageKey = "about_image";

// One edited shell script: its switch, the tag of its section and (for the
// installer only) the section's text.
struct ScriptEditKeys {
    const char* flag;
    const char* tag;
    const char* contents;
};
inline constexpr ScriptEditKeys kBootScriptEdit
    = {"edit_bootscript", "edit_bootscript_tag", "edit_bootscript_contents"};
inline constexpr ScriptEditKeys kSetupEnvEdit
    = {"edit_setup_env", "edit_setup_env_tag", "edit_setup_env_contents"};
inline constexpr ScriptEditKeys kProfileEdit
    = {"edit_profile", "edit_profile_tag", "edit_profile_contents"};
// In the order both the run and the removal treat them.
inline constexpr ScriptEditKeys kScriptEdits[] = {kBootScriptEdit, kSetupEnvEdit, kProfileEdit};

// The deinstaller's size in bytes, which the builder records and the
// installer adds to the size of the selection.
constexpr const char* kDeinstallerSizeKey = "STK:deinstaller_size";
