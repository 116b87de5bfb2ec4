// What the installer window loads from the executable before it shows
// anything, without the views: the configuration record from the program's
// own resources, the default destination and the starting selection.
#pragma once

#include "SupportDefs.h"

#include <vector>

class BPath;
class BResources;
class InstallConfig;

class InstallerLoader {
public:
    // Empties `config` and reads 'CSTR' 2002 of `resources` into it. A
    // missing record prints "Does not have resource 2002", one that does not
    // read or unflatten "Unable to read resource 2002" (standard error);
    // either leaves `config` empty and answers false.
    static bool LoadRecord(BResources& resources, InstallConfig& config);
    // The same from the running program's own executable.
    static bool LoadRecord(InstallConfig& config);

    // "opt_default_folder": "Current" is the working folder, any other value
    // a standard folder name, made when missing (Linux makes many of them
    // only when first used). Without a usable value, the home folder.
    static bool DefaultFolder(const InstallConfig& config, BPath& folder);

    // One mark per "install_file" entry: the members of the first group,
    // which the window selects when it starts; none without groups.
    static std::vector<bool> DefaultSelection(const InstallConfig& config);
};
