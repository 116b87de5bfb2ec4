// A window for choosing files or folders, made of the kit's own views: the
// folder's entries that the node flavors and the filter admit (with their
// icons), a path field the user can type into, a menu of the folder's
// ancestors, and Open and Cancel. Opening sends the message (by default
// B_REFS_RECEIVED) with a "refs" entry for each choice to the target (by
// default the application); Cancel sends B_CANCEL. A double click on a
// folder, or a folder's path typed and Return, goes into it; Open with no
// row selected in a folder panel chooses the folder shown. A link is gone
// through only when the filter admits where it leads.
#pragma once

#include "BMessenger.h"
#include "PanelEntries.h"
#include "entry_ref.h"

#include <string>
#include <vector>

class BDirectory;
class BEntry;
class BMessage;
class BRefFilter;
class BWindow;
class FilePanelWindow;

enum file_panel_mode {
    B_OPEN_PANEL,
    B_SAVE_PANEL,
};

enum file_panel_button {
    B_CANCEL_BUTTON,
    B_DEFAULT_BUTTON,
};

class BFilePanel {
public:
    BFilePanel(file_panel_mode mode = B_OPEN_PANEL, BMessenger* target = nullptr,
        const entry_ref* directory = nullptr, uint32 nodeFlavors = 0,
        bool allowMultipleSelection = true, BMessage* message = nullptr,
        BRefFilter* filter = nullptr, bool modal = false, bool hideWhenDone = true);
    virtual ~BFilePanel();

    void Show();
    void Hide();
    bool IsShowing() const;
    BWindow* Window() const;

    void SetTarget(BMessenger target);
    BMessenger Messenger() const { return fTarget; }
    // Taken over.
    void SetMessage(BMessage* message);
    void SetRefFilter(BRefFilter* filter);
    BRefFilter* RefFilter() const { return fFilter; }
    void SetNodeFlavors(uint32 flavors);
    uint32 NodeFlavors() const { return fFlavors; }
    void SetHideWhenDone(bool hide) { fHideWhenDone = hide; }
    bool HidesWhenDone() const { return fHideWhenDone; }
    file_panel_mode PanelMode() const { return fMode; }
    void SetButtonLabel(file_panel_button button, const char* label);

    void SetPanelDirectory(const entry_ref* directory);
    void SetPanelDirectory(const BEntry* entry);
    void SetPanelDirectory(const BDirectory* directory);
    void SetPanelDirectory(const char* path);
    void GetPanelDirectory(entry_ref* directory) const;
    void Refresh();

    // The entries of the last choice, one by one.
    void Rewind();
    status_t GetNextSelectedRef(entry_ref* ref);

    virtual void SendMessage(const BMessenger* target, BMessage* message);
    virtual void WasHidden();
    virtual void SelectionChanged();

private:
    friend class FilePanelWindow;

    // From the window, on the UI thread with it locked.
    void Choose(const std::vector<PanelEntry>& chosen);
    void Cancel();

    file_panel_mode fMode;
    BMessenger fTarget;
    BMessage* fMessage = nullptr;
    BRefFilter* fFilter;
    uint32 fFlavors;
    bool fHideWhenDone;
    FilePanelWindow* fWindow;
    std::vector<entry_ref> fChosen;
    size_t fNextChosen = 0;
};
