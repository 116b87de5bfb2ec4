// The configuration record of an installer: the message that holds every
// configuration key, and the worker thread that performs the install run.
#pragma once

#include "BMessage.h"
#include "LibString.h"
#include "LibThread.h"
#include "entry_ref.h"

#include <cstdio>

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

    // The thread's state, then every "install_file" entry.
    void PrintToStream() override;

    FILE* LogFile() const { return fLogFile; }
    void SetLogFile(FILE* log) { fLogFile = log; }
    const entry_ref& Destination() const { return fDestination; }
    void SetDestination(const entry_ref& destination) { fDestination = destination; }
    bool RestartRequested() const { return fRestartRequested; }
    void SetRestartRequested(bool requested) { fRestartRequested = requested; }

private:
    FILE* fLogFile = nullptr;
    entry_ref fDestination;
    bool fRestartRequested = false;
};
