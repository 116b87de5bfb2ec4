#include "FilePanelWindow.h"

#include "AppDefs.h"
#include "BButton.h"
#include "BFilePanel.h"
#include "BListView.h"
#include "BMenu.h"
#include "BMenuBar.h"
#include "BMenuItem.h"
#include "BScrollBar.h"
#include "BScrollView.h"
#include "BTextView.h"
#include "PanelEntryItem.h"
#include "UiDisplay.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

constexpr float kWidth = 480;
constexpr float kHeight = 320;
constexpr float kMargin = 8;
constexpr float kBarHeight = 19;
constexpr float kFieldHeight = 19;
constexpr float kButtonWidth = 80;
constexpr float kButtonHeight = 24;

std::string Canonical(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Leaf(const std::string& path)
{
    if (path == "/")
        return "/";
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

FilePanelWindow::FilePanelWindow(BFilePanel* panel, bool multiple, const char* title)
    : BWindow(
        BRect(100, 80, 100 + kWidth - 1, 80 + kHeight - 1), title, B_TITLED_WINDOW, B_NOT_ZOOMABLE)
    , fPanel(panel)
{
    SetSizeLimits(300, 4000, 200, 4000);
    SetPulseRate(0);
    Build(multiple);
}

// The first child holds everything, the menu bar at its top, as panels
// have them (a panel's owner may add menus to "MenuBar").
void FilePanelWindow::Build(bool multiple)
{
    BRect bounds = Bounds();
    auto* background = new BView(bounds, "background", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    background->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    AddChild(background);
    fBar = new BMenuBar(BRect(0, 0, bounds.right, kBarHeight - 1), "MenuBar");
    background->AddChild(fBar);

    float top = kBarHeight + kMargin;
    BRect field(kMargin + 2, top + 2, bounds.right - kMargin - 2, top + kFieldHeight - 1);
    fPath = new BTextView(field, "path", BRect(2, 2, field.Width() - 2, field.Height()),
        B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
    fPath->SetWordWrap(false);
    background->AddChild(new BScrollView("path_frame", fPath, B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP));

    float listTop = top + kFieldHeight + kMargin + 2;
    float listBottom = bounds.bottom - kButtonHeight - 2 * kMargin - 2;
    fList = new BListView(
        BRect(kMargin + 2, listTop, bounds.right - kMargin - 2 - B_V_SCROLL_BAR_WIDTH, listBottom),
        "entries", multiple ? B_MULTIPLE_SELECTION_LIST : B_SINGLE_SELECTION_LIST,
        B_FOLLOW_ALL_SIDES);
    fList->SetSelectionMessage(new BMessage(kSelect));
    fList->SetInvocationMessage(new BMessage(kInvoke));
    background->AddChild(
        new BScrollView("entries_frame", fList, B_FOLLOW_ALL_SIDES, 0, false, true));

    float buttonTop = bounds.bottom - kMargin - kButtonHeight + 1;
    BRect open(bounds.right - kMargin - kButtonWidth + 1, buttonTop, bounds.right - kMargin,
        bounds.bottom - kMargin);
    fOpen
        = new BButton(open, "open", "Open", new BMessage(kOpen), B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM);
    BRect cancel = open;
    cancel.OffsetBy(-(kButtonWidth + kMargin), 0);
    fCancel = new BButton(
        cancel, "cancel", "Cancel", new BMessage(kCancel), B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM);
    background->AddChild(fCancel);
    background->AddChild(fOpen);
    fOpen->MakeDefault(true);
}

void FilePanelWindow::ClearList()
{
    if (fList == nullptr)
        return;
    while (BListItem* item = fList->RemoveItem(fList->CountItems() - 1))
        delete item;
}

void FilePanelWindow::SetFolder(const std::string& path)
{
    fFolder = Canonical(path);
    Refresh();
    fPath->SetText(fFolder.c_str());
    FillAncestors();
}

void FilePanelWindow::Refresh()
{
    BMessage* selection
        = fList->SelectionMessage() != nullptr ? new BMessage(*fList->SelectionMessage()) : nullptr;
    fList->SetSelectionMessage(nullptr);
    ClearList();
    PanelEntries lister(fPanel->NodeFlavors(), fPanel->RefFilter());
    for (const PanelEntry& entry : lister.List(fFolder))
        fList->AddItem(new PanelEntryItem(entry));
    fList->ScrollTo(BPoint(0, 0));
    fList->SetSelectionMessage(selection);
}

// The folder's name opens a menu of its ancestors, nearest first.
void FilePanelWindow::FillAncestors()
{
    // Only the ancestors' menu, the first, is replaced: the menus a panel's
    // owner added stay.
    delete fBar->RemoveItem(int32(0));
    auto* menu = new BMenu(Leaf(fFolder).c_str());
    std::string path = fFolder;
    while (path != "/" && !path.empty()) {
        size_t slash = path.find_last_of('/');
        path = slash == 0 ? "/" : path.substr(0, slash);
        auto* message = new BMessage(kAncestor);
        message->AddString("path", path);
        menu->AddItem(new BMenuItem(Leaf(path).c_str(), message));
    }
    menu->SetTargetForItems(this);
    fBar->AddItem(menu, 0);
}

void FilePanelWindow::SetOpenLabel(const char* label)
{
    fOpen->SetLabel(label);
}

void FilePanelWindow::SetCancelLabel(const char* label)
{
    fCancel->SetLabel(label);
}

std::vector<PanelEntry> FilePanelWindow::SelectedEntries() const
{
    std::vector<PanelEntry> entries;
    for (int32 i = 0; fList->CurrentSelection(i) >= 0; ++i) {
        auto* item = static_cast<PanelEntryItem*>(fList->ItemAt(fList->CurrentSelection(i)));
        entries.push_back(item->Entry());
    }
    return entries;
}

// Goes into a folder the panel admits (through a link only when the
// filter admits where it leads; PanelEntries checked that).
bool FilePanelWindow::Enter(const PanelEntry& entry)
{
    if (!entry.folder)
        return false;
    SetFolder(entry.path);
    return true;
}

void FilePanelWindow::Open()
{
    PanelEntries lister(fPanel->NodeFlavors(), fPanel->RefFilter());
    std::string typed = fPath->Text();
    if (!typed.empty() && Canonical(typed) != fFolder) {
        PanelEntry entry;
        if (IsFolder(typed) && (lister.Admit(typed, entry) || !fPanel->RefFilter())) {
            SetFolder(typed);
            return;
        }
        if (lister.Admit(typed, entry) && !entry.folder) {
            fPanel->Choose({entry});
            return;
        }
        if (native::Display* display = UiDisplay::Native())
            display->Beep();
        return;
    }
    std::vector<PanelEntry> selected = SelectedEntries();
    bool wantsFolders = (fPanel->NodeFlavors() & B_DIRECTORY_NODE) != 0;
    if (selected.size() == 1 && selected.front().folder && !wantsFolders) {
        Enter(selected.front());
        return;
    }
    if (selected.empty() && wantsFolders) {
        PanelEntry current;
        if (!lister.Admit(fFolder, current)) {
            if (native::Display* display = UiDisplay::Native())
                display->Beep();
            return;
        }
        selected.push_back(current);
    }
    if (!selected.empty())
        fPanel->Choose(selected);
}

void FilePanelWindow::Invoke()
{
    std::vector<PanelEntry> selected = SelectedEntries();
    if (selected.size() != 1)
        return;
    if (!Enter(selected.front()))
        fPanel->Choose(selected);
}

void FilePanelWindow::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kOpen:
        Open();
        break;
    case kCancel:
        fPanel->Cancel();
        break;
    case kInvoke:
        Invoke();
        break;
    case kSelect:
        fPanel->SelectionChanged();
        break;
    case kAncestor:
        SetFolder(message->FindString("path"));
        break;
    default:
        BWindow::MessageReceived(message);
        break;
    }
}

bool FilePanelWindow::QuitRequested()
{
    if (fClosing)
        return true;
    fPanel->Cancel();
    return false;
}

void FilePanelWindow::Hide()
{
    bool wasShowing = !IsHidden();
    BWindow::Hide();
    if (wasShowing && !fClosing)
        fPanel->WasHidden();
}

void FilePanelWindow::Close()
{
    fClosing = true;
}
