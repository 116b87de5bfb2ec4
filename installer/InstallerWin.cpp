#include "InstallerWin.h"

#include "AppDefs.h"
#include "BApplication.h"
#include "BButton.h"
#include "BStringView.h"
#include "ByteProgressBar.h"
#include "InstallByteProgress.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "LibFilePanel.h"
#include "LibThread.h"
#include "MountWatcher.h"
#include "NodeMonitor.h"
#include "RunningExecutable.h"

namespace {

// The executable's own name, as the desktop's file manager shows it.
std::string WindowTitle()
{
    std::string path;
    if (get_running_executable_path(path) != B_OK)
        return "Stowfast";
    std::string leaf = path.substr(path.rfind('/') + 1);
    return leaf.empty() ? "Stowfast" : leaf;
}

} // namespace

InstallerWin::InstallerWin(const BMessenger& application)
    : LibWindow(BRect(0, 0, 455, 257), WindowTitle().c_str(), B_TITLED_WINDOW_LOOK,
        B_NORMAL_WINDOW_FEEL, B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE,
        B_CURRENT_WORKSPACE)
    , fApplication(application)
{
    fSession = std::make_unique<InstallSession>(BMessenger(this));
    BuildViews();
    watch_node(nullptr, B_WATCH_MOUNT, BMessenger(this));
    GetVolumes();
    GetHomeDirectory();
    // The close box, Stop and the end of a run are the ways out: Ctrl+W does
    // nothing, and Ctrl+Q asks as the close box does.
    RemoveShortcut('w', B_COMMAND_KEY);
    AddShortcut('q', B_COMMAND_KEY, new BMessage(B_QUIT_REQUESTED));
    SetLanguage();
}

InstallerWin::~InstallerWin()
{
    stop_watching(BMessenger(this));
    // A run still going ends before the record it runs on goes.
    fSession.reset();
}

void InstallerWin::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kMainButton:
        ButtonPressed();
        break;
    case kGroupSelected:
        InstallTypeSelected();
        break;
    case kGroupHovered:
        ShowGroupDescription(message->FindInt32("item"));
        break;
    case kFolderButton:
        OpenFolderPanel();
        break;
    case kVolumeChosen:
        SelectVolume();
        break;
    case kFolderChosen:
        SelectDestination();
        break;
    case kFilesSelected:
        CustomItemSelected();
        break;
    case kLanguageChosen:
        ChangeLaunguage();
        break;
    case kLibThreadCompleted:
        ThreadChange(message);
        break;
    case B_NODE_MONITOR: {
        int32 opcode = message->FindInt32("opcode");
        if (opcode == B_DEVICE_MOUNTED || opcode == B_DEVICE_UNMOUNTED)
            VolumesChanged();
        break;
    }
    case kInstallStatusMessage:
        ShowStatus(message->FindString("message"));
        break;
    case kInstallProgressMessage:
        ShowProgress(message);
        break;
    default:
        LibWindow::MessageReceived(message);
        break;
    }
}

bool InstallerWin::QuitRequested()
{
    if (fQuitAllowed)
        return true;
    BMessage quit(B_QUIT_REQUESTED);
    PostToApplication(&quit);
    return false;
}

void InstallerWin::PostToApplication(BMessage* message)
{
    if (fApplication.IsValid())
        fApplication.SendMessage(message);
    else
        be_app_messenger.SendMessage(message);
}

void InstallerWin::ShowStatus(const char* text)
{
    if (fState == kInstalling)
        fInstruction->SetText(text);
}

void InstallerWin::ShowProgress(BMessage* message)
{
    if (fState == kInstalling)
        fProgress->SetProgress(
            uint64(message->FindInt64("done")), uint64(message->FindInt64("total")));
}

// Labels follow the state; while installing the status line stays, since
// the run's next line would replace anything put there.
void InstallerWin::ApplyStateLabels()
{
    switch (fState) {
    case kLicensePage:
        fButton->SetLabel(InstallString(kTextAgree));
        fInstruction->SetText(InstallString(kTextLicenseInstruction));
        break;
    case kReady:
        fButton->SetLabel(InstallString(kTextInstall));
        fInstruction->SetText(InstallString(kTextReadyInstruction));
        break;
    case kInstalling:
        fButton->SetLabel(InstallString(kTextStop));
        break;
    }
}
