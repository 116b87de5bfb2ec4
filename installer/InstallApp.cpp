#include "InstallApp.h"

#include "AppDefs.h"
#include "ExitCodes.h"
#include "InstallerWin.h"
#include "LibAppInfo.h"
#include "LibSound.h"
#include "oLocalize.h"

#include <cstdio>

namespace {

constexpr uint32 kTipMessage = 'stip';

} // namespace

// The desktop's default applications are left alone: an installer is often
// a file soon deleted, which must not become the opener of a document type.
InstallApp::InstallApp(const InstallOptions& options)
    : BApplication(kSignature)
    , fOptions(options)
{
    // The build attached this identity, so nothing is written.
    LibSetAppVersion(1, 3, 1, "Installer", "V1.3.1 Install BeOS applications", 5, 0);
    if (!fOptions.language.empty() && !oLocalize().SetLanguage(fOptions.language.c_str()))
        fprintf(stderr, "Stowfast: the language cannot be kept on the installer\n");
    fWindow = new InstallerWin(BMessenger(this));
    fWindow->Run();
}

InstallApp::~InstallApp()
{
    delete fSound;
}

int InstallApp::Main(const InstallOptions& options)
{
    InstallApp* application = new InstallApp(options);
    application->Run();
    int code = application->ExitCode();
    delete application;
    return code;
}

void InstallApp::ReadyToRun()
{
    fWindow->SetPosition(LibWindow::kCenter, nullptr);
    if (!fWindow->LoadResources()) {
        fExitCode = kExitDamaged;
        PostMessage(B_QUIT_REQUESTED);
        return;
    }
    if (!fOptions.destination.empty())
        fWindow->PresetDestination(fOptions.destination.c_str());
    fWindow->Show();
}

void InstallApp::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case InstallerWin::kPlaySound:
        PlaySound(message);
        break;
    case kTipMessage:
        fTipManager.MessageReceived(message);
        break;
    default:
        BApplication::MessageReceived(message);
        break;
    }
}

// A sound that cannot be played stays silent.
void InstallApp::PlaySound(BMessage* message)
{
    delete fSound;
    fSound = new LibSound(*message, "AudioFile");
    fSound->Play();
}

void InstallApp::Pulse()
{
    fTipManager.PostPending();
}

bool InstallApp::QuitRequested()
{
    fWindow->QuitRunning();
    return BApplication::QuitRequested();
}
