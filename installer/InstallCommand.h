// Stowfast without a window: a thin front end over the install session. It
// turns the command line's choices into the session's selection,
// destination and answers to the alerts, shows the run's status lines and
// byte progress on standard error, stops the run on SIGINT or SIGTERM, and
// turns the outcome into one of the exit codes of ExitCodes.h.
#pragma once

#include "InstallCommandLine.h"
#include "InstallSession.h"

class InstallProgress;

class InstallCommand {
public:
    explicit InstallCommand(const InstallOptions& options);

    int Run();

    // The exit code of a run's outcome; a problem goes to standard error.
    static int ExitCode(InstallSession& session, const InstallOutcome& outcome);

private:
    int List(const InstallSession& session);
    int Check(const InstallSession& session);
    int Install(InstallSession& session);
    // False with a message when an option names nothing the record holds,
    // or nothing is selected.
    bool Choose(InstallSession& session);
    bool ChooseDestination(InstallSession& session);
    void SetAnswers();
    // Starts the run and waits for its end or a stop signal.
    int RunAndWait(InstallSession& session, InstallProgress& progress);
    void SaveRecord(const InstallSession& session);

    InstallOptions fOptions;
};
