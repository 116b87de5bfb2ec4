// Stowfast's guided flow in a terminal, for a start without a window: the
// steps of the installer's window as prompts, over the install session. The
// about texts; the license a screenful at a time, to be agreed to; the
// group; the files, toggled by number; the destination, checked as the
// window checks it; a summary to confirm; then the run with its status lines
// and a progress bar, its questions asked on the terminal. Ctrl-C or the end
// of the input at a prompt leaves without installing anything; Ctrl-C during
// the run stops it as the command line does. The exit codes are those of
// the command line (ExitCodes.h), a cancel counting as an interruption.
#pragma once

#include "InstallCommandLine.h"

#include <string>

class InstallProgress;
class InstallSession;
class TerminalDialog;

class InstallFlow {
public:
    explicit InstallFlow(const InstallOptions& options);

    // False, with `problem` saying why, when an option answers what the flow
    // asks (the license, the selection, the questions of the run): those go
    // with --unattended. --dest and --language preset the flow.
    static bool Accepts(const InstallOptions& options, std::string& problem);

    int Run();

private:
    enum class Step { Next, Cancelled, Refused };

    void ShowAbout();
    Step AcceptLicense();
    Step ChooseGroup();
    Step ChooseFiles();
    void ListFiles();
    Step ChooseDestination();
    Step Confirm();
    int Install(InstallProgress& progress);
    // The end of a flow left before the run.
    int NothingInstalled();

    InstallOptions fOptions;
    TerminalDialog* fDialog = nullptr;
    InstallSession* fSession = nullptr;
};
