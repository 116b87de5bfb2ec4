// Stowclear's guided flow in a terminal, for a start without a window: the
// steps of the deinstaller's windows as prompts, over the deinstall session.
// The product; the disk to search (the boot volume unless another is
// chosen); the search, with the status bar drawn as a line; the entries
// found, all selected, to keep some by number; where they go (the Trash or a
// folder); a confirmation; the removal counting down, then the product's
// sections leave the start-up files. Ctrl-C or the end of the input at a
// prompt leaves with nothing removed; Ctrl-C during the removal stops it
// between two entries and leaves the start-up files as they are. The exit
// codes are those of the command line (ExitCodes.h), a cancel counting as an
// interruption.
#pragma once

#include "StowclearOptions.h"

#include <string>

class DeinstallProgress;
class DeinstallSession;
class TerminalDialog;

class StowclearFlow {
public:
    explicit StowclearFlow(const StowclearOptions& options);

    int Run();

private:
    enum class Step { Next, Cancelled };

    int Prepare();
    void ShowProduct();
    Step ChooseVolume();
    // -1 when entries were found, else the exit code.
    int Search();
    void ListEntries();
    Step ChooseEntries();
    Step ChooseDestination();
    std::string DestinationText() const;
    Step Confirm();
    int Remove();
    int NothingRemoved();

    StowclearOptions fOptions;
    TerminalDialog* fDialog = nullptr;
    DeinstallSession* fSession = nullptr;
    DeinstallProgress* fProgress = nullptr;
};
