#include "DeinstallerWin.h"

#include "BApplication.h"
#include "BButton.h"
#include "BStatusBar.h"
#include "BackgroundView.h"
#include "DeinstallFilesWin.h"
#include "ExitCodes.h"
#include "InstallImage.h"
#include "LibMenuField.h"
#include "LibMessageBox.h"
#include "LibRect.h"
#include "LibThread.h"
#include "LibVolumeMenu.h"
#include "NodeMonitor.h"
#include "RecordKeys.h"
#include "StowclearFlowTexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kVolumeDivider = 50;
// The disk menu's distance from the window's right edge.
constexpr float kVolumeMargin = 10;
// The label's size, and the room its control keeps after it for the colon.
constexpr float kLabelFontSize = 12;
constexpr float kLabelRoom = 14;
constexpr const char* kSearchLabel = ".../";
// Problem paths listed in the alert after a removal; an ellipsis stands for
// the rest.
constexpr size_t kListedProblems = 8;

// A missing key reads as empty.
const char* Text(const BMessage& record, const char* key)
{
    const char* text = record.FindString(key);
    return text != nullptr ? text : "";
}

// Wide enough for the label in the user's language, which the design's
// divider cuts short in some of them.
float Divider(const char* label)
{
    BFont bold(be_bold_font);
    bold.SetSize(kLabelFontSize);
    return std::max(kVolumeDivider, std::ceil(bold.StringWidth(label)) + kLabelRoom);
}

// The menu shows the chosen volume's name in a field that ends at `right`
// rather than past the narrow window's edge.
void FitInto(LibVolumeMenu* menu, float right)
{
    BRect frame = menu->Frame();
    if (frame.right <= right)
        return;
    LibMenuField* field = menu->MenuField();
    field->ResizeBy(right - frame.right, 0);
    menu->ResizeBy(right - frame.right, 0);
}

} // namespace

DeinstallerWin::DeinstallerWin()
    : LibWindow(BRect(0, 0, 173, 318), "Stowclear", B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL,
        B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE, B_CURRENT_WORKSPACE)
    , fSession(BMessenger(this))
    , fQuitTarget(be_app_messenger)
{
    SetName("DeinstallerWin");
    BuildViews();
    watch_node(nullptr, B_WATCH_MOUNT, this);
}

DeinstallerWin::~DeinstallerWin()
{
    stop_watching(this);
    // The removal window works on this window's session.
    if (fFilesWin != nullptr && fFilesWin->Lock())
        fFilesWin->Quit();
}

void DeinstallerWin::BuildViews()
{
    BRect bounds = Bounds();
    auto* background = new BackgroundView(bounds, BackgroundView::Banner::UpperRight);
    AddChild(background);
    fImage = new InstallImage(BPoint(10, 10), false);
    background->AddChild(fImage);
    float pictureBottom = fImage->Frame().bottom;

    std::string label = StowclearString(kTextDisk);
    fVolumeMenu = new LibVolumeMenu(
        BPoint(10, pictureBottom + 3), "volume", kVolumeSelected, Divider(label.c_str()));
    fVolumeMenu->SetLabel(label.c_str());
    fVolumeMenu->Update();
    FitInto(fVolumeMenu, bounds.right - kVolumeMargin);
    background->AddChild(fVolumeMenu);
    float menuBottom = fVolumeMenu->Frame().bottom;

    fStatusBar
        = new BStatusBar(BRect(5, menuBottom + 1, bounds.right - 5, menuBottom + 30), "status_bar");
    background->AddChild(fStatusBar);

    fSearchButton = new BButton(LibRect(bounds.right - 90, fStatusBar->Frame().bottom + 8, 80, 20),
        "search_btn", StowclearString(kTextSearch).c_str(), new BMessage(kSearchPressed));
    background->AddChild(fSearchButton);
    SetDefaultButton(fSearchButton);
}

bool DeinstallerWin::Load()
{
    return fSession.Load();
}

bool DeinstallerWin::Load(BResources& resources)
{
    return fSession.Load(resources);
}

bool DeinstallerWin::ChooseVolumeOf(const char* path)
{
    if (!fSession.SetVolumeOf(path))
        return false;
    // Search takes the volume the menu shows.
    fVolumeMenu->SetText(fSession.Volume().Name());
    return strcmp(fVolumeMenu->Text(), fSession.Volume().Name()) == 0;
}

void DeinstallerWin::Show()
{
    if (!Lock())
        return;
    BMessage record = fSession.Record();
    BMessage picture;
    if (record.FindMessage(kAboutImageKey, &picture) == B_OK)
        fImage->SetImage(picture);
    fImage->SetAppName(Text(record, kAppNameKey));
    fImage->SetVersion(Text(record, kVersionKey));
    fImage->SetDate(Text(record, kReleaseDateKey));
    fImage->SetCompany(Text(record, kCompanyKey));
    fImage->SetEmail(Text(record, kSupportEmailKey));
    LibWindow::Show();
    Unlock();
}

bool DeinstallerWin::QuitRequested()
{
    // A removal stops between two entries and leaves the start-up files as
    // they are; the program ends when it has.
    if (fSession.IsRemoving()) {
        fSession.StopRemoval();
        return false;
    }
    EndProgram(kExitRemoved);
    return true;
}

void DeinstallerWin::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kLibThreadCompleted:
        ThreadChange(message);
        break;
    case kSearchPressed:
        ButtonPressed();
        break;
    case kVolumeSelected:
        // The volume is read when Search is pressed.
        break;
    case kRemovalLimitMessage:
        fStatusBar->SetMaxValue(float(message->FindInt32("size")));
        break;
    case kSearchProgressMessage:
        SearchingNewFile(message);
        break;
    case kRemovalProblemMessage:
        fProblems.emplace_back(message->FindString("path"));
        break;
    case kDeinstallPressed:
        StartRemoval();
        break;
    case B_NODE_MONITOR: {
        int32 opcode = message->FindInt32("opcode");
        if (opcode == B_DEVICE_MOUNTED || opcode == B_DEVICE_UNMOUNTED)
            fVolumeMenu->Update();
        break;
    }
    default:
        LibWindow::MessageReceived(message);
    }
}

void DeinstallerWin::ButtonPressed()
{
    if (fSession.IsSearching()) {
        fSession.StopSearch();
        ShowSearching(false);
        return;
    }
    StartSearch();
}

void DeinstallerWin::StartSearch()
{
    BVolume volume;
    if (fVolumeMenu->GetCurrentVolume(volume))
        fSession.SetVolume(volume);
    if (fSession.StartSearch() != B_OK)
        return;
    ShowSearching(true);
    const BVolume& searched = fSession.Volume();
    fStatusBar->SetMaxValue(float(searched.Capacity() - searched.FreeBytes()));
}

void DeinstallerWin::ShowSearching(bool searching)
{
    fSearchButton->SetLabel(StowclearString(searching ? kTextStop : kTextSearch).c_str());
    fVolumeMenu->SetEnabled(!searching);
    if (searching)
        fStatusBar->Reset(kSearchLabel, (" " + StowclearString(kTextFound)).c_str());
}

void DeinstallerWin::SearchingNewFile(BMessage* message)
{
    fStatusBar->Update(
        message->FindFloat("size"), message->FindString("folder"), message->FindString("found"));
}

void DeinstallerWin::ThreadChange(BMessage* message)
{
    const char* name = message->FindString("name");
    if (name == nullptr)
        return;
    if (strcmp(name, "search") == 0 && fSession.IsSearching())
        SearchEnded();
    else if (strcmp(name, "remove") == 0)
        RemovalEnded();
}

void DeinstallerWin::SearchEnded()
{
    fStatusBar->Update(fStatusBar->MaxValue());
    ShowSearching(false);
    // With nothing found the session says so.
    if (fSession.FinishSearch() == 0)
        return;
    if (fFilesWin == nullptr) {
        fFilesWin = new DeinstallFilesWin(this, fSession);
        fFilesWin->Run();
    }
    fFilesWin->SetPaths();
    fFilesWin->SetPosition(LibWindow::kCenter, this);
    fFilesWin->Pop();
}

void DeinstallerWin::StartRemoval()
{
    status_t status = fSession.StartRemoval();
    if (status != B_OK) {
        // Refused (the product is busy elsewhere): the choice stays open.
        fFilesWin->Pop();
        return;
    }
    fProblems.clear();
    fSearchButton->SetEnabled(false);
    fVolumeMenu->SetEnabled(false);
}

void DeinstallerWin::RemovalEnded()
{
    RemovalCounts counts = fSession.FinishRemoval();
    ShowProblems();
    if (counts.stopped)
        EndProgram(kExitInterrupted);
    else
        EndProgram(counts.failed > 0 ? kExitFailed : kExitRemoved);
}

void DeinstallerWin::EndProgram(int exitCode)
{
    BMessage quit(B_QUIT_REQUESTED);
    quit.AddInt32("exit", exitCode);
    fQuitTarget.SendMessage(&quit);
}

void DeinstallerWin::ShowProblems()
{
    if (fProblems.empty())
        return;
    std::string text = StowclearString(kTextNotMoved);
    for (size_t i = 0; i < fProblems.size() && i < kListedProblems; ++i)
        text += "\n" + fProblems[i];
    if (fProblems.size() > kListedProblems)
        text += "\n…";
    LibWarning("%s", text.c_str());
}
