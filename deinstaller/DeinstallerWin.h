// The deinstaller's main window: the product's picture and texts, the disk
// to search, a status bar and the Search/Stop button. It drives the
// deinstall session: the search fills the status bar with the bytes visited,
// its results go to the removal window (DeinstallFilesWin), and the removal
// counts down in the same bar before the program ends.
#pragma once

#include "DeinstallSession.h"
#include "LibWindow.h"

#include <string>
#include <vector>

class BButton;
class BResources;
class BStatusBar;
class DeinstallFilesWin;
class InstallImage;
class LibVolumeMenu;

class DeinstallerWin : public LibWindow {
public:
    // Messages of the window's own controls.
    static constexpr uint32 kSearchPressed = 1004;
    static constexpr uint32 kVolumeSelected = 2000;
    // From the removal window: its Deinstall was pressed.
    static constexpr uint32 kDeinstallPressed = 'dstr';

    DeinstallerWin();
    ~DeinstallerWin() override;

    // Reads the record from the program's own resources (or `resources`);
    // false, after the alert saying the deinstaller was not configured,
    // without one.
    bool Load();
    bool Load(BResources& resources);
    // Chooses the disk that holds `path`; false when none does.
    bool ChooseVolumeOf(const char* path);

    // Gives the picture view the record's picture and texts, then shows.
    void Show() override;
    bool QuitRequested() override;
    void MessageReceived(BMessage* message) override;

    // Search when idle, Stop while searching.
    void ButtonPressed();
    // Progress of the search (bytes visited, folder, found count) or of the
    // removal (counting down).
    void SearchingNewFile(BMessage* message);
    // A worker has ended: the search's results go to the removal window,
    // the removal's end ends the program.
    void ThreadChange(BMessage* message);
    // The button, the disk menu and the status bar as a search starts (true)
    // or has ended (false).
    void ShowSearching(bool searching);

    // Where the program's end is asked, with the exit status as int32
    // "exit"; the application unless a test says otherwise.
    void SetQuitTarget(const BMessenger& target) { fQuitTarget = target; }
    DeinstallSession& Session() { return fSession; }
    DeinstallFilesWin* FilesWindow() const { return fFilesWin; }

private:
    void BuildViews();
    void StartSearch();
    void SearchEnded();
    void StartRemoval();
    void RemovalEnded();
    void ShowProblems();
    void EndProgram(int exitCode);

    DeinstallFilesWin* fFilesWin = nullptr;
    DeinstallSession fSession;
    InstallImage* fImage = nullptr;
    LibVolumeMenu* fVolumeMenu = nullptr;
    BButton* fSearchButton = nullptr;
    BStatusBar* fStatusBar = nullptr;
    BMessenger fQuitTarget;
    // Problems the removal reported, shown when it has ended.
    std::vector<std::string> fProblems;
};
