// The deinstaller's configuration: the reduced record that the install run
// wrote into the placed deinstaller's own resources, and what follows from
// it (the search key and the tags of the script sections to remove).
#pragma once

#include "BMessage.h"
#include "LibString.h"

constexpr int32 kDeinstallRecordId = 2002;
// Shown when the program carries no record (a base executable, or a
// damaged one).
constexpr const char* kNotConfiguredText
    = "Stowclear was not present during the installation of software. It has not "
      "been configured to deinstall.";

// Reads 'CSTR' 2002 of the running program into `record`. On failure writes
// "Does not have resource 2002" or "Unable to read resource 2002" (damaged,
// or no message) to standard error and returns false.
bool ReadDeinstallRecord(BMessage& record);

// "app_name", "version", "release_date", "company" and "support_email",
// each followed by ";": the value of every InstallBy tag the run wrote.
LibString DeinstallKey(const BMessage& record);

struct ScriptTags {
    LibString bootScript;
    LibString setupEnv;
    LibString profile;
};
// Each file's tag when the record's flag for it is on, else empty.
ScriptTags DeinstallScriptTags(const BMessage& record);
