// The window of a BFilePanel: its ancestors menu, path field, entry list
// and buttons. Views are named for tests: "MenuBar", "path", "entries",
// "open", "cancel".
#pragma once

#include "BWindow.h"
#include "PanelEntries.h"

#include <string>
#include <vector>

class BButton;
class BFilePanel;
class BListView;
class BMenuBar;
class BTextView;

class FilePanelWindow : public BWindow {
public:
    enum : uint32 {
        kOpen = FourCC('f', 'p', 'O', 'p'),
        kCancel = FourCC('f', 'p', 'C', 'x'),
        kInvoke = FourCC('f', 'p', 'I', 'v'),
        kSelect = FourCC('f', 'p', 'S', 'l'),
        kAncestor = FourCC('f', 'p', 'U', 'p'),
    };

    FilePanelWindow(BFilePanel* panel, bool multiple, const char* title);

    // With the window locked.
    void SetFolder(const std::string& path);
    const std::string& Folder() const { return fFolder; }
    void Refresh();
    void SetOpenLabel(const char* label);
    void SetCancelLabel(const char* label);

    void MessageReceived(BMessage* message) override;
    // The close box cancels; the panel's owner ends the window.
    bool QuitRequested() override;
    void Hide() override;
    // Lets the window go for good (the panel is being deleted).
    void Close();

private:
    void Build(bool multiple);
    void Open();
    void Invoke();
    bool Enter(const PanelEntry& entry);
    std::vector<PanelEntry> SelectedEntries() const;
    void FillAncestors();
    void ClearList();

    BFilePanel* fPanel;
    BMenuBar* fBar = nullptr;
    BTextView* fPath = nullptr;
    BListView* fList = nullptr;
    BButton* fOpen = nullptr;
    BButton* fCancel = nullptr;
    std::string fFolder;
    bool fClosing = false;
};
