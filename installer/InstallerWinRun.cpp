// The main button through the three states, the run and its end.
#include "InstallerWin.h"

#include "BBox.h"
#include "BButton.h"
#include "BStringView.h"
#include "ByteProgressBar.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "LibFilePanel.h"
#include "LibMessageBox.h"
#include "LibPictureButton.h"
#include "LibVolumeMenu.h"

#include <cstring>

void InstallerWin::ButtonPressed()
{
    switch (fState) {
    case kLicensePage:
        fLicenseBox->Hide();
        fInstallBox->Show();
        fState = kReady;
        ApplyStateLabels();
        CustomItemSelected();
        CheckDestinationFolder(false);
        break;
    case kReady:
        // A folder that went away since it was chosen is reported here, and
        // the window stays ready.
        if (!UseDestination(fDestination.Path()))
            break;
        fFolderButton->SetEnabled(false);
        fVolumeMenu->SetEnabled(false);
        fState = kInstalling;
        ApplyStateLabels();
        fButton->SetEnabled(true);
        fProgress->SetProgress(0, 0);
        fProgress->Show();
        Install();
        break;
    case kInstalling:
        QuitRequested();
        break;
    }
}

// The session writes the selection into "install_to_system" of every
// "install_file" and starts the run on its thread "install" at priority 10,
// reporting to this window.
void InstallerWin::Install()
{
    if (fSession->Start() != B_OK)
        EnterReadyState();
}

void InstallerWin::ThreadChange(BMessage* message)
{
    if (strcmp(message->FindString("name"), "install") != 0)
        return;
    InstallOutcome outcome = fSession->Finish(*message);
    if (message->FindInt32("status") == 0) {
        ReportNotices(outcome.notices);
        if (outcome.restartRequested)
            fSession->Restart();
        QuitRequested();
        return;
    }
    EnterReadyState();
    // Why the run ended, where the user looks next; the alert the run may
    // have shown is gone by now.
    if (!outcome.problem.empty())
        fInstruction->SetText(outcome.problem.c_str());
}

void InstallerWin::EnterReadyState()
{
    if (!Lock())
        return;
    fFolderButton->SetEnabled(true);
    fVolumeMenu->SetEnabled(true);
    fProgress->Hide();
    fState = kReady;
    ApplyStateLabels();
    CustomItemSelected();
    Unlock();
}

// What went wrong without ending the run went by as status lines; before
// the window closes the user sees them together.
void InstallerWin::ReportNotices(const std::vector<std::string>& notices)
{
    if (notices.empty())
        return;
    std::string text;
    for (const std::string& notice : notices)
        text += (text.empty() ? "" : "\n") + notice;
    LibWarning("%s", text.c_str());
}

void InstallerWin::QuitRunning()
{
    // Stop() kills a run that still goes and tells the user it stopped.
    fSession->Stop();
    fQuitAllowed = true;
    // The panel's window would refuse to quit on its own.
    if (Lock()) {
        fFolderPanel.reset();
        Unlock();
    }
}
