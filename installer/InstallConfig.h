// The configuration record of an installer: the message that holds every
// configuration key, and the worker thread that performs the install run.
#pragma once

#include "BMessage.h"
#include "LibString.h"
#include "LibThread.h"
#include "entry_ref.h"

#include <cstdio>

class RequirementProbe;

class InstallConfig : public BMessage, public LibThread {
public:
    InstallConfig();
    ~InstallConfig() override;

    // Replaces the record with the flattened record in `data`. On failure
    // the record is left empty and the error is returned.
    status_t Load(const char* data, size_t size);

    // The reduced record that a placed deinstaller carries: the product's
    // identity, its about picture and the script sections to remove.
    BMessage DeinstallerRecord() const;

    // The boot-script section that runs the items of the start-up folder
    // `folder` (StartupSection.h); `out` takes it whole, however long the
    // path.
    static void BuildStartupString(const char* folder, LibString& out);

    // The requirements check (docs/requirements.md): 1 go on, 2 choose
    // another destination, 3 end the installer. Without a probe it asks
    // this machine.
    int32 CheckSystemResources();
    int32 CheckSystemResources(RequirementProbe& probe);
    // The first "file_size" of the first entry whose "file_name" has the
    // leaf name `leaf`; 0 when none does.
    int64 GetFileSize(const char* leaf) const;

    // The thread's state, then every "install_file" entry.
    void PrintToStream() override;

    FILE* LogFile() const { return fLogFile; }
    void SetLogFile(FILE* log) { fLogFile = log; }
    const entry_ref& Destination() const { return fDestination; }
    void SetDestination(const entry_ref& destination) { fDestination = destination; }
    bool RestartRequested() const { return fRestartRequested; }
    void SetRestartRequested(bool requested) { fRestartRequested = requested; }

private:
    // The sizes of the entries selected for installation, in bytes.
    int64 SelectedBytes() const;
    int32 CheckLibrariesAndApplications(RequirementProbe& probe);

    FILE* fLogFile = nullptr;
    entry_ref fDestination;
    bool fRestartRequested = false;
};
