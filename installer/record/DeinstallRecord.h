// The reduced record that the install run writes into the deinstaller it
// places, and what both programs derive from a record: the deinstall tag
// (the search key) and the tags of the script sections to remove.
#pragma once

#include "BMessage.h"
#include "LibString.h"

#include <string>

// Shown when the deinstaller carries no record (a base executable, or a
// damaged one).
constexpr const char* kNotConfiguredText
    = "Stowclear was not present during the installation of software. It has not "
      "been configured to deinstall.";

// The reduced record of `config`: the product's identity, its about picture
// when it has one, and each script edit's switch followed by its tag when
// the switch is on. Its `what` is 0.
BMessage MakeDeinstallRecord(const BMessage& config);

// "app_name", "version", "release_date", "company" and "support_email",
// each followed by ";": the value of every InstallBy attribute the run
// writes, and so the key the deinstaller searches for. A missing key counts
// as empty.
LibString DeinstallKey(const BMessage& record);

// The name of the lock (ExclusiveLock) that an install run and a removal of
// the product with deinstall key `key` hold, so that one product is never
// installed and removed, or installed twice, at once.
std::string ProductLockName(const char* key);

struct ScriptTags {
    LibString bootScript;
    LibString setupEnv;
    LibString profile;
};
// Each script's tag when the record's switch for it is on, else empty.
ScriptTags DeinstallScriptTags(const BMessage& record);
