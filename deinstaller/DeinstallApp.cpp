#include "DeinstallApp.h"

#include "DeinstallFilesWin.h"
#include "DeinstallerWin.h"
#include "ExitCodes.h"

#include <cstdio>

DeinstallApp::DeinstallApp(const StowclearOptions& options)
    : BApplication("application/x-vnd.Tarnwick.Sclear")
    , fOptions(options)
    , fWindow(new DeinstallerWin)
{
    // The loop runs hidden until the record has been read.
    fWindow->Run();
}

void DeinstallApp::ReadyToRun()
{
    if (!fWindow->Load()) {
        fExitCode = kExitNotConfigured;
        Quit();
        return;
    }
    if (!Preset()) {
        fExitCode = kExitUsage;
        Quit();
        return;
    }
    fWindow->SetPosition(LibWindow::kCenter, nullptr);
    fWindow->Show();
}

bool DeinstallApp::QuitRequested()
{
    // The main window tells how the program ends.
    if (BMessage* message = CurrentMessage(); message != nullptr && message->HasInt32("exit"))
        fExitCode = message->FindInt32("exit");
    return true;
}

void DeinstallApp::MessageReceived(BMessage* message)
{
    if (message->what == DeinstallFilesWin::kTipCommand)
        fTips.MessageReceived(message);
    else
        BApplication::MessageReceived(message);
}

void DeinstallApp::Pulse()
{
    fTips.PostPending();
}

bool DeinstallApp::Preset()
{
    std::string problem;
    if (!fWindow->Session().SetMovePath(fOptions.to.c_str()))
        problem = "--to: '" + fOptions.to + "' is not a folder";
    else if (!fOptions.volume.empty() && !fWindow->ChooseVolumeOf(fOptions.volume.c_str()))
        problem = "--volume: no volume holds '" + fOptions.volume + "'";
    if (problem.empty())
        return true;
    fprintf(stderr, "Stowclear: %s\n%s", problem.c_str(), stowclear_usage().c_str());
    return false;
}
