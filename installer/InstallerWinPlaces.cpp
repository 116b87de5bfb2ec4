// Where the product goes: the volume, its default folder, the folder panel,
// and the check for a product folder that is already there.
#include "InstallerWin.h"

#include "BPath.h"
#include "BStringView.h"
#include "BVolume.h"
#include "FindDirectory.h"
#include "InstallSession.h"
#include "LibBytes.h"
#include "LibFilePanel.h"
#include "LibStringView.h"
#include "LibVolumeMenu.h"
#include "StorageDefs.h"

#include <string>

void InstallerWin::GetVolumes()
{
    if (!Lock())
        return;
    fVolumeMenu->Update();
    Unlock();
}

// A volume's home for products: the user's home folder on the boot volume,
// the volume's own root anywhere else.
void InstallerWin::GetHomeDirectory()
{
    BVolume volume;
    if (!Lock())
        return;
    if (fVolumeMenu->GetCurrentVolume(volume)) {
        BPath home;
        if (volume.IsBoot() && find_directory(B_USER_DIRECTORY, &home, true) == B_OK)
            UseDestination(home.Path());
        else if (volume.RootPath() != nullptr)
            UseDestination(volume.RootPath());
        LibString free;
        LibBytesToString((unsigned long)volume.FreeBytes(), free, 1);
        fVolumeSize->SetText(free);
        SetDestinationPath();
    }
    Unlock();
}

void InstallerWin::SelectVolume()
{
    GetHomeDirectory();
    CheckDestinationFolder(false);
}

// A volume came or went: the menu lists what is mounted now, and when the
// chosen volume went away, the destination moves to the one chosen instead.
void InstallerWin::VolumesChanged()
{
    std::string before = fVolumeMenu->Text();
    GetVolumes();
    if (fState != kInstalling && before != fVolumeMenu->Text())
        GetHomeDirectory();
}

// Takes `path` as the destination when it is a folder; the session shows
// why not otherwise.
bool InstallerWin::UseDestination(const char* path)
{
    if (path == nullptr || !fSession->SetDestination(path))
        return false;
    fDestination.SetTo(fSession->Destination());
    return true;
}

bool InstallerWin::PresetDestination(const char* path)
{
    if (!Lock())
        return false;
    bool taken = UseDestination(path);
    if (taken) {
        SetDestinationPath();
        if (fState == kReady)
            CheckDestinationFolder(false);
    }
    Unlock();
    return taken;
}

void InstallerWin::InitFolderPanel()
{
    if (fFolderPanel != nullptr)
        return;
    fFolderPanel = std::make_unique<LibFilePanel>(
        B_OPEN_PANEL, this, kFolderChosen, B_DIRECTORY_NODE, false);
    fFolderPanel->Filter().AddType("application/x-vnd.Be-directory");
    fFolderPanel->Filter().AddType("application/x-vnd.Be-volume");
}

// The panel shows the destination's parent with the destination in it, so
// that the destination itself can be chosen.
void InstallerWin::OpenFolderPanel()
{
    InitFolderPanel();
    fFolderPanel->SetPanelDirectory(fDestination.Path(), true);
    fFolderPanel->Show();
}

void InstallerWin::SelectDestination()
{
    if (fFolderPanel == nullptr)
        return;
    BPath previous = fDestination;
    entry_ref chosen;
    fFolderPanel->Rewind();
    if (fFolderPanel->GetNextSelectedRef(&chosen) != B_OK) {
        fFolderPanel->Hide();
        return;
    }
    BPath path(&chosen);
    if (path.InitCheck() != B_OK || !UseDestination(path.Path()))
        return;
    if (CheckDestinationFolder(true)) {
        SetDestinationPath();
        fFolderPanel->Hide();
        return;
    }
    // Cancelled: the old destination stays, and the panel for another choice.
    UseDestination(previous.Path());
}

void InstallerWin::SetDestinationPath()
{
    if (!Lock())
        return;
    fDestinationView->SetTruncatedText(
        fDestination.InitCheck() == B_OK ? fDestination.Path() : "", B_TRUNCATE_BEGINNING);
    Unlock();
}

bool InstallerWin::CheckDestinationFolder(bool prompt)
{
    return fSession->CheckDestinationFolder(prompt);
}
