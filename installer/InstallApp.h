// The installer as a desktop application: its window, the tool tips of the
// window's views, the start-up sound, and quitting, which stops a run that
// still goes first. Started by main when a display is there.
#pragma once

#include "BApplication.h"
#include "InstallCommandLine.h"
#include "LibTipManager.h"

class InstallerWin;
class LibSound;

class InstallApp : public BApplication {
public:
    static constexpr const char* kSignature = "application/x-vnd.Tarnwick.Sfast";

    // `options` preset the window: its language and destination folder.
    explicit InstallApp(const InstallOptions& options = InstallOptions());
    ~InstallApp() override;

    // Runs the installer's window on this thread, which must have connected
    // the display; the exit status: 0, or 5 when the installer carries no
    // readable record.
    static int Main(const InstallOptions& options);

    void ReadyToRun() override;
    void MessageReceived(BMessage* message) override;
    void PlaySound(BMessage* message);
    void Pulse() override;
    bool QuitRequested() override;

    InstallerWin* Window() const { return fWindow; }
    int ExitCode() const { return fExitCode; }

private:
    LibTipManager fTipManager;
    InstallerWin* fWindow = nullptr;
    LibSound* fSound = nullptr;
    InstallOptions fOptions;
    int fExitCode = 0;
};
