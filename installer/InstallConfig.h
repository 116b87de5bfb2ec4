// The configuration record of an installer: the message that holds every
// configuration key, and the worker thread that performs the install run.
#pragma once

#include "BMessage.h"
#include "LibString.h"
#include "LibThread.h"
#include "RecordKeys.h"
#include "entry_ref.h"

#include <cstdio>
#include <string>
#include <vector>

class BPath;
class BVolume;
class RequirementProbe;

// The status message of the install run, with a string "message".
constexpr uint32 kInstallStatusMessage = 'isud';
// Status texts fit a buffer of this many bytes, terminating zero included.
constexpr size_t kStatusTextSize = 100;

class InstallConfig : public BMessage, public LibThread {
public:
    InstallConfig();
    ~InstallConfig() override;

    // Replaces the record with the flattened record in `data`. On failure
    // the record is left empty and the error is returned.
    status_t Load(const char* data, size_t size);

    // The reduced record that a placed deinstaller carries: the product's
    // identity, its about picture and the script sections to remove.
    BMessage DeinstallerRecord() const;

    // The boot-script section that runs the items of the start-up folder
    // `folder` (StartupSection.h); `out` takes it whole, however long the
    // path.
    static void BuildStartupString(const char* folder, LibString& out);

    // The requirements check (docs/requirements.md): 1 go on, 2 choose
    // another destination, 3 end the installer. Without a probe it asks
    // this machine.
    int32 CheckSystemResources();
    int32 CheckSystemResources(RequirementProbe& probe);
    // The first "file_size" of the first entry whose "file_name" has the
    // leaf name `leaf`; 0 when none does.
    int64 GetFileSize(const char* leaf) const;

    // The thread's state, then every "install_file" entry.
    void PrintToStream() override;

    // Places (InstallConfigPlaces.cpp).
    // The volume that holds the files put into `folder`: the folder's own,
    // which for a mount point is the mounted volume and not the one that
    // holds the mount point (and so the entry_ref's device).
    static status_t FolderVolume(const entry_ref& folder, BVolume& volume);
    // Whether the product folder ("opt_created_folder" in the destination)
    // already exists. False for a name that would not lie inside the
    // destination (empty, absolute, "." or ".."), so that the destination
    // itself is never taken for an old product folder.
    bool DoesDestinationExist();
    // The full path of place `name`: the first custom folder of that name in
    // `customFolders` (a copy of "custom_folder"), found on `volume` and
    // made when missing, else the standard folder of that name on the boot
    // volume (made when missing, as Linux makes many of them only when first
    // used). A custom folder whose definition asks for it is replaced the
    // first time a run uses it: the old folder is moved into `savedFolder`
    // when "opt_save_replaced" is on, else removed, and the definition is
    // cleared in `customFolders` so that it happens once; only a folder
    // below its standard folder is ever replaced. A name that is neither,
    // or a place that is not a folder, gives an empty `result`: the caller
    // must treat that as "cannot place here".
    void GetNewPath(const char* name, BMessage& customFolders, BVolume& volume,
        const char* savedFolder, LibString& result);

    // The payload list (InstallConfigEntries.cpp).
    // The leaf name of an entry's "file_name"; empty without one.
    static std::string EntryLeaf(const BMessage& entry);
    // Sets "install_to_system" of the first entry with that leaf.
    void MarkInstallFile(const char* leaf, const bool& install);
    // Sets "install_to_system" of entry i to install[i], for every i.
    void MarkInstallFiles(const std::vector<bool>& install);
    // Whether `groups` (names each ended by ";", "Typical;Documents;")
    // names `group`, compared exactly.
    static bool IsInGroup(const char* groups, const char* group);

    // The deinstall tag: "app_name", "version", "release_date", "company"
    // and "support_email", each followed by ";".
    LibString DeinstallTag() const;
    // Writes `tag` as the only InstallBy attribute of the entry at `path`
    // (a link itself, not its target) and, for a folder, of everything in
    // it at any depth, links not followed. A missing entry is left alone.
    // A stop of the run may end it between the entries of a folder.
    void AddDeinstallTag(const char* path, const char* tag);

    // The install log, kept only when "opt_log" is on. Log formats like
    // printf and does nothing while no log is open.
    void OpenLog(const char* path);
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void CloseLog();
    // Sends 'isud' with the formatted text as "message" to the run's
    // messenger, waiting until it is accepted; nothing without one. A text
    // longer than kStatusTextSize - 1 bytes is cut before the first UTF-8
    // character that does not fit whole.
    void UpdateStatus(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A problem that does not end the run (an item left in the product
    // folder, a link not placed): sent as a status line like UpdateStatus,
    // and kept whole for the run's outcome, so that a window user learns of
    // it and not only a terminal.
    void Notice(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const std::vector<std::string>& RunNotices() const { return fRunNotices; }

    // Settles a name collision before `item` is moved or linked into
    // `targetFolder` (InstallConfigReplace.cpp). `mode` is "Prompt" (ask,
    // or use `answer` once `ask` is off), "Rename" (the existing entry is
    // renamed aside) or anything else, which replaces: the existing entry is
    // saved into `savedFolder` when "opt_save_replaced" is on, else removed.
    // True when the item may be placed. False when `targetFolder` is no
    // folder, and when an existing entry that had to be saved or renamed
    // aside could not be: it is kept rather than overwritten.
    bool ReplaceControl(const char* targetFolder, const BPath& item, const char* mode, bool& ask,
        bool& answer, const BPath& savedFolder);

    // The install run (InstallRun.h): status lines as 'isud', progress in
    // bytes as 'ispr', the end as 'LThC'. 0 finished (or the requirement
    // check ended the installer), 1 the destination could not be used, 3
    // the chosen volume is too small, 5 the installer is damaged.
    int32 Action() override;
    // Starts the installed items marked for it, asking first where the
    // configuration gives a reason.
    void AutoLaunch();
    // Stops a run that goes, and waits until its thread has ended.
    void StopRun() { StopThread(); }
    // What the requirement check of the last run answered (0 before one):
    // tells "ended by a requirement" from "finished" when Action() gave 0.
    int32 RequirementVerdict() const { return fRequirementVerdict; }
    void SetRequirementVerdict(int32 verdict) { fRequirementVerdict = verdict; }
    // Why the last run ended early, for people; empty otherwise.
    const char* RunProblem() const { return static_cast<const char*>(fRunProblem); }
    void SetRunProblem(const char* problem) { fRunProblem = problem; }
    void ClearRunNotices() { fRunNotices.clear(); }

    FILE* LogFile() const { return fLogFile; }
    void SetLogFile(FILE* log) { fLogFile = log; }
    const entry_ref& Destination() const { return fDestination; }
    void SetDestination(const entry_ref& destination) { fDestination = destination; }
    bool RestartRequested() const { return fRestartRequested; }
    void SetRestartRequested(bool requested) { fRestartRequested = requested; }

private:
    friend class InstallRun;

    // The sizes of the entries selected for installation, in bytes.
    int64 SelectedBytes() const;
    int32 CheckLibrariesAndApplications(RequirementProbe& probe);
    void ReplaceCustomFolder(const BPath& folder, const BPath& root, const char* savedFolder);
    // Moves `path` into `savedFolder` under its own name, or the first free
    // name of "name copy", "name copy 1", ... when that is taken there.
    bool SaveReplaced(const char* path, const char* savedFolder);
    void TagEntry(const char* path, const char* tag);
    // Sends `text`, cut to a status line, to the run's messenger.
    void SendStatus(std::string text);

    FILE* fLogFile = nullptr;
    entry_ref fDestination;
    bool fRestartRequested = false;
    int32 fRequirementVerdict = 0;
    LibString fRunProblem;
    std::vector<std::string> fRunNotices;
};
