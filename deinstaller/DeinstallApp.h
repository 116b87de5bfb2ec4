// Stowclear's application on a desktop: it makes the main window, and at
// start reads the product's record; without one the program ends after the
// alert saying the deinstaller was not configured, before any window shows.
// It shows the tips its windows ask for.
#pragma once

#include "BApplication.h"
#include "LibTipManager.h"
#include "StowclearOptions.h"

class DeinstallerWin;

class DeinstallApp : public BApplication {
public:
    // --volume and --to preset the disk and the destination.
    explicit DeinstallApp(const StowclearOptions& options);

    void ReadyToRun() override;
    bool QuitRequested() override;
    // Tips of the removal window's folder button.
    void MessageReceived(BMessage* message) override;
    void Pulse() override;

    // The exit status: the command line's codes (ExitCodes.h).
    int ExitCode() const { return fExitCode; }

private:
    bool Preset();

    StowclearOptions fOptions;
    DeinstallerWin* fWindow;
    LibTipManager fTips;
    int fExitCode = 0;
};
