// The installer's window, which carries the whole user flow over an install
// session: the about picture and the license (state 1), then the groups, the
// files, the volume and the destination folder (state 2), then the run with
// its status lines and its progress in bytes (state 3). The run ends by
// quitting the installer (it completed, or a requirement ended it) or by
// returning to state 2 with the selection kept. Every text is looked up in
// the language the user chose, which the language menu changes at any time.
#pragma once

#include "BMessenger.h"
#include "BPath.h"
#include "GroupContextList.h"
#include "LibWindow.h"

#include <memory>
#include <string>

class BBox;
class BButton;
class BListView;
class BStringView;
class BTextView;
class ByteProgressBar;
class InstallImage;
class InstallSession;
class LibFilePanel;
class LibListView;
class LibMenuField;
class LibPictureButton;
class LibStringView;
class LibVolumeMenu;

class InstallerWin : public LibWindow {
public:
    // Messages of the window's views.
    enum : uint32 {
        kMainButton = 1000,
        kGroupSelected = 2000,
        kGroupHovered = 2001,
        kFolderButton = 2003,
        kVolumeChosen = 2004,
        kFolderChosen = 2005,
        kFilesSelected = 2006,
        kLanguageChosen = 2007,
        // To the application: the configuration's start-up sound.
        kPlaySound = 2200,
    };
    enum State : int32 { kLicensePage = 1, kReady = 2, kInstalling = 3 };

    // `application` gets the quit requests, tips and the start-up sound (the
    // running application unless a test gives another).
    explicit InstallerWin(const BMessenger& application = BMessenger());
    ~InstallerWin() override;

    // Reads the record from the program's resources and fills the window;
    // false (after the alert that the installer was improperly built) when
    // there is none, and the application must quit.
    bool LoadResources();
    // A folder given on the command line, checked as a chosen one is.
    bool PresetDestination(const char* path);

    void SetLanguage();
    void ChangeLaunguage();
    void ButtonPressed();
    void Install();
    void ThreadChange(BMessage* message);
    // The application quits: stops a run that goes, with the alert that the
    // installation was stopped, and lets the window close.
    void QuitRunning();
    // The close box and Stop ask the application to quit (which comes back
    // to QuitRunning); the window closes only when the application quits.
    bool QuitRequested() override;

    void GetVolumes();
    void GetHomeDirectory();
    void SelectVolume();
    void InitFolderPanel();
    void SelectDestination();
    void SetDestinationPath();
    bool CheckDestinationFolder(bool prompt);

    void AddGroup(const char* name);
    void InstallTypeSelected();
    void CustomItemSelected();
    void ShowGroupDescription(const long& index);

    void MessageReceived(BMessage* message) override;

    int32 State() const { return fState; }
    InstallSession& Session() { return *fSession; }
    const char* DestinationFolder() const { return fDestination.Path(); }
    LibFilePanel* FolderPanel() const { return fFolderPanel.get(); }

private:
    void BuildViews();
    void BuildLicenseBox(BView* background);
    void BuildInstallBox(BView* background);
    void BuildVolumeRow(BBox* box);
    void BuildBottomRow(BView* background);
    void LoadAbout();
    void LoadFileRows();
    void LoadDefaultFolder();
    void ApplyStateLabels();
    void BuildLanguageMenu();
    void EnterReadyState();
    void ShowStatus(const char* text);
    void ShowProgress(BMessage* message);
    void OpenFolderPanel();
    void VolumesChanged();
    bool UseDestination(const char* path);
    void ReportNotices(const std::vector<std::string>& notices);
    void PostToApplication(BMessage* message);

    GroupContextList fGroups;
    int32 fState = kLicensePage;
    std::unique_ptr<InstallSession> fSession;
    std::unique_ptr<LibFilePanel> fFolderPanel;
    BMessenger fApplication;
    BPath fDestination;
    bool fQuitAllowed = false;

    InstallImage* fImage = nullptr;
    BBox* fLicenseBox = nullptr;
    BTextView* fLicenseText = nullptr;
    BBox* fInstallBox = nullptr;
    BStringView* fGroupLabel = nullptr;
    LibListView* fGroupList = nullptr;
    BStringView* fFileLabel = nullptr;
    BListView* fFileList = nullptr;
    BStringView* fInstallSize = nullptr;
    LibVolumeMenu* fVolumeMenu = nullptr;
    LibPictureButton* fFolderButton = nullptr;
    BStringView* fVolumeSize = nullptr;
    LibStringView* fDestinationView = nullptr;
    BBox* fInstBox = nullptr;
    BStringView* fInstruction = nullptr;
    ByteProgressBar* fProgress = nullptr;
    BButton* fButton = nullptr;
    LibMenuField* fOptions = nullptr;
};
