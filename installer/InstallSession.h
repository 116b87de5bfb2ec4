// The steps of one installation, for any front end (the command line, the
// window, a guided flow in a terminal): the record from the installer's own
// resources, the choice of groups and files, the destination and its check,
// the run on the "install" thread, stopping it and learning its outcome.
// The session never prints: the run's status lines ('isud'), its progress in
// bytes ('ispr') and its end ('LThC') go to the front end's messenger, and
// questions and failures go through the alert service.
#pragma once

#include "BMessenger.h"
#include "BPath.h"
#include "InstallByteProgress.h"
#include "InstallConfig.h"

#include <string>
#include <vector>

class BResources;

struct InstallGroup {
    std::string name;
    std::string description;
    int64 size = 0; // of its files
};

// One payload file; file i is "install_file" entry i.
struct InstallFile {
    std::string leaf;
    int64 size = 0;     // as the builder measured it
    std::string groups; // "Typical;Documents;"
    bool selected = false;
};

enum class InstallResult {
    Installed,
    EndedByRequirement, // the requirement check ended the installer
    DestinationUnusable,
    NotEnoughSpace,
    Damaged, // a payload is missing, damaged or unsafe
};

struct InstallOutcome {
    InstallResult result = InstallResult::Installed;
    // Why the run ended early, for people; empty otherwise.
    std::string problem;
    // What went wrong without ending the run (an item that stayed in the
    // product folder, a link not placed): each was a status line too.
    std::vector<std::string> notices;
    bool restartRequested = false;
};

class InstallSession {
public:
    // `frontEnd` receives the run's messages.
    explicit InstallSession(const BMessenger& frontEnd);
    ~InstallSession();
    InstallSession(const InstallSession&) = delete;
    InstallSession& operator=(const InstallSession&) = delete;

    // Reads the record of the running program (or of `resources`) and
    // selects the first group's files. Without a readable record: "Does not
    // have resource 2002" or "Unable to read resource 2002" on standard
    // error, the improperly-built alert, and false. False while a run goes.
    bool Load();
    bool Load(BResources& resources);

    // The record; the run writes into it while it goes.
    const InstallConfig& Record() const { return fConfig; }
    const char* License() const;

    int32 CountGroups() const { return int32(fGroups.size()); }
    // Null beyond the last.
    const InstallGroup* GroupAt(int32 index) const;
    // -1 when no group has that name (compared exactly).
    int32 FindGroup(const char* name) const;
    // The selection becomes the group's files, as choosing it in a list does.
    void SelectGroup(int32 index);
    // The group's files join the selection.
    void AddGroup(int32 index);

    int32 CountFiles() const { return int32(fFiles.size()); }
    const InstallFile* FileAt(int32 index) const;
    void SetFileSelected(int32 index, bool selected);
    void ToggleFile(int32 index);
    // Selects (or deselects) every file of that leaf name; how many there are.
    int32 SelectFiles(const char* leaf, bool selected);
    void SelectAll(bool selected);
    int32 CountSelected() const;
    // The selected files' sizes, and with the deinstaller the run adds
    // ("STK:deinstaller_size"): the total a window shows.
    int64 SelectedBytes() const;
    int64 SelectionTotal() const;

    // The folder in which the run makes the product folder: an existing
    // folder (a relative path counts from the working folder). A path that
    // is no folder shows the alert that no installation folder was found and
    // answers false; so does any change while a run goes.
    bool SetDestination(const char* path);
    // The record's "opt_default_folder": "Current" is the working folder,
    // any other value a standard folder (made when missing); without one,
    // the home folder. Empty when none of these can be had.
    std::string DefaultDestination() const;
    // Empty while none is set.
    const char* Destination() const;
    // Whether the product folder already exists in the destination.
    bool ProductFolderExists();
    // The window's check of the destination: true when no product folder is
    // there yet. Otherwise the alert that it exists: with `prompt`, asking
    // whether to replace it (true for Replace); without, only warning
    // (false).
    bool CheckDestinationFolder(bool prompt);

    // Writes the selection into the record and starts the run on a thread
    // "install" at priority 10. B_BUSY while one goes; B_BAD_VALUE without
    // a destination; a destination this user cannot write shows the alert
    // that names it and why, and answers why (B_PERMISSION_DENIED,
    // B_READ_ONLY_DEVICE, ...).
    status_t Start();
    // B_OK when this user can make the product folder in the destination.
    status_t DestinationWritable() const;
    // The same, and when not, the alert that names the folder and why.
    bool CheckDestinationWritable();
    bool IsRunning() const { return fRunning; }
    // Stops a run that goes and waits for its thread to end; then the alert
    // that the installation was stopped. False when no run was going (or it
    // had already ended, its end not yet handed to Finish).
    bool Stop();
    // What the run's 'LThC' tells; the run counts as over from then on.
    InstallOutcome Finish(const BMessage& ended);
    // Starts the restart the user asked for at the end of the run.
    bool Restart();

private:
    void ReadRows();

    BMessenger fFrontEnd;
    InstallConfig fConfig;
    std::vector<InstallGroup> fGroups;
    std::vector<InstallFile> fFiles;
    BPath fDestination;
    bool fRunning = false;
};
