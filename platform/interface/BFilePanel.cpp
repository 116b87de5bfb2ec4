#include "BFilePanel.h"

#include "AppDefs.h"
#include "BApplication.h"
#include "BDirectory.h"
#include "BEntry.h"
#include "BPath.h"
#include "FilePanelWindow.h"

#include <cstdlib>
#include <unistd.h>

namespace {

std::string StartFolder()
{
    const char* home = getenv("HOME");
    if (home != nullptr && *home != '\0')
        return home;
    char buffer[4096];
    return getcwd(buffer, sizeof(buffer)) != nullptr ? buffer : "/";
}

} // namespace

BFilePanel::BFilePanel(file_panel_mode mode, BMessenger* target, const entry_ref* directory,
    uint32 nodeFlavors, bool allowMultipleSelection, BMessage* message, BRefFilter* filter, bool,
    bool hideWhenDone)
    : fMode(mode)
    , fTarget(target != nullptr ? *target : be_app_messenger)
    , fMessage(message != nullptr ? new BMessage(*message) : nullptr)
    , fFilter(filter)
    , fFlavors(nodeFlavors)
    , fHideWhenDone(hideWhenDone)
    , fWindow(new FilePanelWindow(this, allowMultipleSelection, "Open"))
{
    fWindow->Lock();
    fWindow->SetFolder(StartFolder());
    fWindow->Unlock();
    if (directory != nullptr)
        SetPanelDirectory(directory);
}

BFilePanel::~BFilePanel()
{
    if (fWindow->Lock()) {
        fWindow->Close();
        fWindow->Quit();
    }
    delete fMessage;
}

void BFilePanel::Show()
{
    if (fWindow->IsHidden())
        fWindow->Show();
    fWindow->Activate();
}

void BFilePanel::Hide()
{
    if (!fWindow->IsHidden())
        fWindow->Hide();
}

bool BFilePanel::IsShowing() const
{
    return !fWindow->IsHidden();
}

BWindow* BFilePanel::Window() const
{
    return fWindow;
}

void BFilePanel::SetTarget(BMessenger target)
{
    fTarget = target;
}

void BFilePanel::SetMessage(BMessage* message)
{
    delete fMessage;
    fMessage = message;
}

void BFilePanel::SetRefFilter(BRefFilter* filter)
{
    fFilter = filter;
    Refresh();
}

void BFilePanel::SetNodeFlavors(uint32 flavors)
{
    fFlavors = flavors;
    Refresh();
}

void BFilePanel::SetButtonLabel(file_panel_button button, const char* label)
{
    if (!fWindow->Lock())
        return;
    if (button == B_DEFAULT_BUTTON)
        fWindow->SetOpenLabel(label);
    else
        fWindow->SetCancelLabel(label);
    fWindow->Unlock();
}

void BFilePanel::SetPanelDirectory(const entry_ref* directory)
{
    if (directory == nullptr)
        return;
    BPath path(directory);
    if (path.InitCheck() == B_OK)
        SetPanelDirectory(path.Path());
}

void BFilePanel::SetPanelDirectory(const BEntry* entry)
{
    BPath path;
    if (entry != nullptr && entry->GetPath(&path) == B_OK)
        SetPanelDirectory(path.Path());
}

void BFilePanel::SetPanelDirectory(const BDirectory* directory)
{
    BEntry entry;
    if (directory != nullptr && directory->GetEntry(&entry) == B_OK)
        SetPanelDirectory(&entry);
}

void BFilePanel::SetPanelDirectory(const char* path)
{
    if (path == nullptr || !fWindow->Lock())
        return;
    fWindow->SetFolder(path);
    fWindow->Unlock();
}

void BFilePanel::GetPanelDirectory(entry_ref* directory) const
{
    if (directory == nullptr || !fWindow->Lock())
        return;
    BEntry entry(fWindow->Folder().c_str());
    entry.GetRef(directory);
    fWindow->Unlock();
}

void BFilePanel::Refresh()
{
    if (!fWindow->Lock())
        return;
    fWindow->Refresh();
    fWindow->Unlock();
}

void BFilePanel::Rewind()
{
    fNextChosen = 0;
}

status_t BFilePanel::GetNextSelectedRef(entry_ref* ref)
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    if (fNextChosen >= fChosen.size())
        return B_ENTRY_NOT_FOUND;
    *ref = fChosen[fNextChosen++];
    return B_OK;
}

void BFilePanel::Choose(const std::vector<PanelEntry>& chosen)
{
    fChosen.clear();
    fNextChosen = 0;
    BMessage message(fMessage != nullptr ? *fMessage : BMessage(B_REFS_RECEIVED));
    for (const PanelEntry& entry : chosen) {
        fChosen.push_back(entry.ref);
        message.AddRef("refs", &entry.ref);
    }
    SendMessage(&fTarget, &message);
    if (fHideWhenDone)
        Hide();
}

void BFilePanel::Cancel()
{
    BMessage message(B_CANCEL);
    message.AddInt32("old_what", int32(fMessage != nullptr ? fMessage->what : B_REFS_RECEIVED));
    message.AddPointer("source", this);
    SendMessage(&fTarget, &message);
    Hide();
}

void BFilePanel::SendMessage(const BMessenger* target, BMessage* message)
{
    if (target != nullptr && message != nullptr)
        target->SendMessage(message, static_cast<BHandler*>(nullptr), 0);
}

void BFilePanel::WasHidden() { }

void BFilePanel::SelectionChanged() { }
