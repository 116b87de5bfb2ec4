#include "LibFilePanel.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BMenu.h"
#include "BMenuBar.h"
#include "BMenuItem.h"
#include "BPath.h"
#include "BWindow.h"
#include "LibString.h"
#include "oMenuItem.h"

#include <string>

namespace {

BMessenger MessengerOf(BLooper* looper)
{
    return looper != nullptr ? BMessenger(looper) : BMessenger();
}

} // namespace

// The filter is installed once it exists: the base is made before the
// members.
LibFilePanel::LibFilePanel(const file_panel_mode& mode, BLooper* target,
    const unsigned long& command, const unsigned long& nodeFlavors, const bool& allowMultiple)
    : BFilePanel(
        mode, nullptr, nullptr, uint32(nodeFlavors), allowMultiple, nullptr, nullptr, false, false)
{
    SetTarget(MessengerOf(target));
    Init(command);
}

LibFilePanel::LibFilePanel(const file_panel_mode& mode, BMessenger* target,
    const unsigned long& command, const unsigned long& nodeFlavors, const bool& allowMultiple)
    : BFilePanel(
        mode, target, nullptr, uint32(nodeFlavors), allowMultiple, nullptr, nullptr, false, false)
{
    Init(command);
}

void LibFilePanel::Init(const unsigned long& command)
{
    SetMessage(new BMessage(uint32(command)));
    SetRefFilter(&fFilter);
}

// The panel's window goes with the base; the filter, a member, goes first,
// so the window is told to forget it.
LibFilePanel::~LibFilePanel()
{
    Hide();
    SetRefFilter(nullptr);
}

void LibFilePanel::SetPanelDirectory(const char* path, const bool& useParent)
{
    if (path == nullptr)
        return;
    BPath folder(path), parent;
    if (useParent && folder.InitCheck() == B_OK && folder.GetParent(&parent) == B_OK) {
        BFilePanel::SetPanelDirectory(parent.Path());
        return;
    }
    BFilePanel::SetPanelDirectory(path);
}

void LibFilePanel::SetPanelDirectory(const directory_which& which)
{
    BPath folder;
    if (find_directory(which, &folder) == B_OK)
        BFilePanel::SetPanelDirectory(folder.Path());
}

void LibFilePanel::SetToParentDirectory()
{
    entry_ref current;
    GetPanelDirectory(&current);
    BPath folder(&current), parent;
    if (folder.InitCheck() == B_OK && folder.GetParent(&parent) == B_OK)
        BFilePanel::SetPanelDirectory(parent.Path());
}

void LibFilePanel::GetState(lib_panel_state& state)
{
    Rewind();
    GetPanelDirectory(&state.directory);
    if (Window()->Lock()) {
        state.frame = Window()->Frame();
        Window()->Unlock();
    }
}

void LibFilePanel::SetState(lib_panel_state& state)
{
    BFilePanel::SetPanelDirectory(&state.directory);
    if (!Window()->Lock())
        return;
    Window()->ResizeTo(state.frame.Width(), state.frame.Height());
    Window()->MoveTo(state.frame.LeftTop());
    Window()->Unlock();
}

void LibFilePanel::AddFormatMenuItem(const char* label, const bool& marked)
{
    BWindow* window = Window();
    if (!window->Lock())
        return;
    BView* first = window->ChildAt(0);
    auto* bar = dynamic_cast<BMenuBar*>(first != nullptr ? first->FindView("MenuBar") : nullptr);
    if (bar != nullptr) {
        if (fFormatMenu == nullptr) {
            fFormatMenu = new BMenu("Format", B_ITEMS_IN_COLUMN);
            fFormatMenu->SetRadioMode(true);
            bar->AddItem(fFormatMenu);
        }
        auto* item = new oMenuItem(label, nullptr, 0, 0);
        fFormatMenu->AddItem(item);
        if (marked)
            item->SetMarked(true);
    }
    window->Unlock();
}

// Kept for the windows that call it: the panel has no options menu, and
// asking for one only waits for the panel's window to be free.
void LibFilePanel::AddOptionMenu()
{
    if (Window()->Lock())
        Window()->Unlock();
}

void LibFilePanel::SendMessage(const BMessenger* target, BMessage* message)
{
    if (message != nullptr && fFormatMenu != nullptr) {
        if (BMenuItem* marked = fFormatMenu->FindMarked())
            message->AddString("marked", marked->Label());
    }
    BFilePanel::SendMessage(target, message);
}
