// The deinstaller's removal window: every entry the search found, by its
// full path and all selected, the choice of where they go (the Trash or a
// folder), and Deinstall, which hands the selection to the session and the
// start of the removal to the main window. It lives until the program ends
// and every later search fills it again.
#pragma once

#include "LibWindow.h"

#include <vector>

class BButton;
class BListItem;
class BListView;
class BScrollView;
class DeinstallSession;
class LibFilePanel;
class LibPictureButton;
class LibStringView;

class DeinstallFilesWin : public LibWindow {
public:
    // The messages of its controls.
    static constexpr uint32 kAllPressed = 1000;
    static constexpr uint32 kNonePressed = 1001;
    static constexpr uint32 kSelectionChanged = 1002;
    static constexpr uint32 kFolderPressed = 1100;
    static constexpr uint32 kFolderChosen = 1101;
    static constexpr uint32 kDeinstallPressed = 2000;
    // The tip of the folder button, to the application.
    static constexpr uint32 kTipCommand = 'stip';
    // Its own: the next slice of rows.
    static constexpr uint32 kMoreRows = 'drow';

    // `parent` (the main window) is told when Deinstall is pressed; the
    // list and the destination are `session`'s.
    DeinstallFilesWin(BLooper* parent, DeinstallSession& session);
    ~DeinstallFilesWin() override;

    // One row per entry the session's last search found, every row selected;
    // a long list fills in slices, the buttons enabled once it is whole.
    void SetPaths();
    bool IsFilled();
    void SelectMoveDestination();
    void MoveDestinationChoosen();
    // Shows `path` as the destination, shortened at its start to fit.
    void SetMovePath(const char* path);
    // Hides the window, hands the selection to the session and asks the
    // main window to start the removal.
    void DeinstallFiles();

    bool QuitRequested() override;
    void MessageReceived(BMessage* message) override;

private:
    void BuildViews();
    static float ButtonWidth();
    void AddSomeRows();
    void SelectAll(bool select);

    BLooper* fParent;
    DeinstallSession& fSession;
    LibFilePanel* fPanel = nullptr;
    BListView* fList = nullptr;
    // The rows; the list only shows them.
    std::vector<BListItem*> fItems;
    BScrollView* fScroll = nullptr;
    LibPictureButton* fFolderButton = nullptr;
    LibStringView* fDestination = nullptr;
    BButton* fAll = nullptr;
    BButton* fNone = nullptr;
    BButton* fDeinstall = nullptr;
};
