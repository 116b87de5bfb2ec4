// Stowfast without a window: loads the record from the executable, turns
// the command line's choices into what the window would set (selection,
// destination, answers to the alerts), runs the install thread and waits for
// it, showing its progress, and stops it through the normal cancellation
// on SIGINT or SIGTERM. The result is one of the exit codes of
// InstallCommandLine.h.
#pragma once

#include "InstallCommandLine.h"
#include "SupportDefs.h"

#include <vector>

class InstallConfig;

class InstallCommand {
public:
    explicit InstallCommand(const InstallOptions& options);

    int Run();

private:
    int List(InstallConfig& config);
    int Check(InstallConfig& config);
    int Install(InstallConfig& config);
    // The entries to install, one mark per "install_file"; false with a
    // message when an option names nothing the record holds.
    bool Selection(const InstallConfig& config, std::vector<bool>& selected);
    bool SetDestination(InstallConfig& config);
    void SetAnswers();
    // Runs the thread and waits for its end or a stop signal.
    int RunAndWait(InstallConfig& config);
    int ExitCode(const InstallConfig& config, int32 status);
    void SaveRecord(const InstallConfig& config);

    InstallOptions fOptions;
};
