#include "InstallRun.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "DeinstallRecord.h"
#include "EditScriptFile.h"
#include "FillIn.h"
#include "FindDirectory.h"
#include "InstallConfig.h"
#include "InstallPayloads.h"
#include "InstallTexts.h"
#include "KernelThreads.h"
#include "LibFileOperations.h"
#include "LibMessageBox.h"
#include "LibNode.h"
#include "LibPaths.h"
#include "StatusText.h"
#include "Trash.h"
#include "oLocalize.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sys/stat.h>

namespace {

constexpr const char* kSavedFolderName = "Saved Files";
constexpr const char* kLogName = "Log";

// A product folder name that stays one folder below the destination.
bool IsFolderName(const char* name)
{
    return name != nullptr && *name != '\0' && strchr(name, '/') == nullptr
        && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

bool IsFolder(const char* path)
{
    BEntry entry(path, true);
    return entry.InitCheck() == B_OK && entry.IsDirectory();
}

} // namespace

InstallRun::InstallRun(InstallConfig& config)
    : fConfig(config)
{ }

InstallRun::~InstallRun()
{
    // A stop unwinds the run from wherever it had got to: the log ends by
    // saying so, below what it already lists as placed.
    if (std::uncaught_exceptions() == 0 || !thread_kill_requested() || fConfig.LogFile() == nullptr)
        return;
    // An item that arrived in the product folder before the stop stays.
    if (!fItemUnderway.empty() && !BEntry(fItemUnderway.c_str()).Exists())
        fConfig.Log("\t\t\tNot placed: stopped\n");
    fConfig.Log("\tInstallation Stopped: %s\n", static_cast<const char*>(Now()));
    fConfig.CloseLog();
}

void InstallRun::Report(const char* indent, const std::string& problem)
{
    fConfig.Log("%s%s\n", indent, problem.c_str());
    fConfig.Notice("%s", problem.c_str());
}

int32 InstallRun::Fail(int32 status, const std::string& problem)
{
    fConfig.SetRunProblem(problem.c_str());
    return status;
}

int32 InstallRun::Perform()
{
    fConfig.SetRunProblem("");
    fConfig.ClearRunNotices();
    fConfig.SetRequirementVerdict(0);
    fConfig.UpdateStatus("%s", static_cast<const char*>(InstallString(kTextChecking)));
    int32 verdict = fConfig.CheckSystemResources();
    fConfig.SetRequirementVerdict(verdict);
    if (verdict == kRequirementsNoSpace)
        return Fail(kRunNotEnoughSpace, "the destination volume has too little free space");
    if (verdict == kRequirementsAbort)
        return kRunFinished;
    thread_cancellation_point();

    InstallConfig::FolderVolume(fConfig.Destination(), fVolume);
    fVolumeName = fVolume.Name() != nullptr ? fVolume.Name() : "";
    fTag = fConfig.DeinstallTag();
    fConfig.FindMessage("custom_folder", &fCustomFolders);
    if (!OpenDestination())
        return Fail(kRunDestinationUnusable, "the destination folder cannot be used");
    // Nothing is written before every payload the run needs has been checked.
    if (!CheckPayloads())
        return kRunDamaged;
    if (!LockPlace())
        return kRunDestinationUnusable;

    if (fConfig.DoesDestinationExist() && !TrashExisting())
        return kRunDestinationUnusable;
    thread_cancellation_point();
    if (!CreateProductFolder())
        return kRunDestinationUnusable;
    if (fConfig.FindBool("opt_save_replaced")) {
        fSavedFolder.SetTo(fProduct.Path(), kSavedFolderName);
        Libmkdir(fSavedFolder.Path());
    }
    BPath log(fProduct.Path(), kLogName);
    fConfig.OpenLog(log.Path());
    WriteLogHeader();

    StartUnpacking();
    bool placed = PlaceDeinstaller();
    if (placed) {
        CreateStartupFolder();
        placed = InstallItems();
    }
    // Every item is placed (or the run failed): what the unpacker still
    // holds goes before the run reports.
    fUnpacker.reset();
    if (!placed) {
        fConfig.Log("\tInstallation failed: %s\n", fConfig.RunProblem());
        fConfig.CloseLog();
        return fFailure;
    }
    fConfig.ReplaceMessage("install_instructions", &fInstructions);
    EditScripts();
    Complete();
    return kRunFinished;
}

bool InstallRun::OpenDestination()
{
    const char* created = fConfig.FindString("opt_created_folder");
    if (!LibGetFullPath(fConfig.Destination(), fDestination) || !IsFolder(fDestination.Path())) {
        LibError("%s", static_cast<const char*>(InstallString(kTextNoFolder)));
        return false;
    }
    // An unusable name is caught when the folder is made.
    fProduct.SetTo(fDestination.Path(), IsFolderName(created) ? created : nullptr);
    return true;
}

bool InstallRun::CheckPayloads()
{
    fResources = std::make_unique<LibAppResource>(B_READ_ONLY);
    InstallPayloads payloads(*fResources, [] { thread_cancellation_point(); });
    uint64 bytes = 0;
    status_t status = B_OK;
    if (!fConfig.HasBool("opt_include_deinstall") || fConfig.FindBool("opt_include_deinstall"))
        status = payloads.Check(kDeinstallerPayloadId, bytes);
    fConfig.FindMessage("install_instructions", &fInstructions);
    uint64 total = 0;
    BMessage entry;
    for (int32 i = 0;
         status == B_OK && fInstructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        fItemBytes.push_back(0);
        if (!entry.FindBool("install_to_system"))
            continue;
        status = payloads.Check(kFirstItemPayloadId + i, fItemBytes.back());
        total += fItemBytes.back();
    }
    if (status != B_OK) {
        fConfig.SetRunProblem(payloads.ErrorMessage().c_str());
        LibError("%s", kImproperlyBuiltText);
        return false;
    }
    fProgress = std::make_unique<InstallByteProgress>(fConfig.Messenger(), total);
    return true;
}

bool InstallRun::LockPlace()
{
    // The place is named by the destination folder's device and inode, so
    // that two paths to one folder are one place.
    struct stat folder;
    const char* created = fConfig.FindString("opt_created_folder");
    if (BEntry(fDestination.Path()).GetStat(&folder) == B_OK) {
        std::string place = "place:" + std::to_string(folder.st_dev) + ":"
            + std::to_string(folder.st_ino) + "/" + created;
        if (fPlaceLock.Lock(place) == B_BUSY) {
            LibString text = InstallString(kTextAlreadyRunningHere);
            LibError("%s", fill_in(static_cast<const char*>(text), {fDestination.Path()}).c_str());
            Fail(kRunDestinationUnusable,
                std::string("an installation of this product is already running in ")
                    + fDestination.Path());
            return false;
        }
    }
    // A lock folder that cannot be written (a read-only home) keeps no one
    // from installing; only a lock that another holds does.
    if (fProductLock.Lock(ProductLockName(fTag)) == B_BUSY) {
        LibError("%s", static_cast<const char*>(InstallString(kTextProductBusy)));
        Fail(kRunDestinationUnusable, "this product is being installed or removed right now");
        return false;
    }
    return true;
}

bool InstallRun::TrashExisting()
{
    // Whatever is there, an earlier installation or an entry of the user's
    // own, goes to the Trash, and the user learns of it.
    status_t status = move_to_trash(fProduct.Path(), TrashClash::KeepBoth);
    if (status != B_OK) {
        LibError(static_cast<const char*>(InstallString(kTextCannotCreateFolder)),
            fConfig.FindString("opt_created_folder"));
        Fail(kRunDestinationUnusable,
            std::string("cannot move the existing ") + fProduct.Path()
                + " to the Trash: " + status_text(status));
        return false;
    }
    fTrashedExisting = true;
    fConfig.Notice("The existing %s was moved to the Trash", fProduct.Path());
    return true;
}

bool InstallRun::CreateProductFolder()
{
    const char* created = fConfig.FindString("opt_created_folder");
    status_t status = B_BAD_VALUE;
    if (IsFolderName(created))
        status = BEntry(fProduct.Path()).Exists() ? B_FILE_EXISTS
                                                  : create_directory(fProduct.Path(), 0775);
    if (status != B_OK) {
        LibError(static_cast<const char*>(InstallString(kTextCannotCreateFolder)), created);
        Fail(kRunDestinationUnusable,
            IsFolderName(created)
                ? std::string("cannot create ") + fProduct.Path() + ": " + status_text(status)
                : std::string("the product folder's name cannot be used: '") + created + "'");
        return false;
    }
    return true;
}

bool InstallRun::IncludesDeinstaller() const
{
    return !fConfig.HasBool("opt_include_deinstall") || fConfig.FindBool("opt_include_deinstall");
}

BPath InstallRun::DeinstallerPath() const
{
    // A "/" in the product's name or version would make a path of it.
    std::string name = std::string(fConfig.FindString(kAppNameKey)) + " "
        + fConfig.FindString(kVersionKey) + " Deinstaller";
    std::replace(name.begin(), name.end(), '/', '-');
    return BPath(fProduct.Path(), name.c_str());
}

bool InstallRun::PlaceDeinstaller()
{
    if (!IncludesDeinstaller())
        return true;
    fConfig.UpdateStatus("%s", static_cast<const char*>(InstallString(kTextCreatingDeinstaller)));
    BPath path = DeinstallerPath();
    if (!Place(fDeinstallerTurn, kDeinstallerPayloadId, path.Path()))
        return false;
    BMessage record = fConfig.DeinstallerRecord();
    ssize_t size = record.FlattenedSize();
    std::string bytes(size_t(size > 0 ? size : 0), '\0');
    status_t status = record.Flatten(bytes.data(), bytes.size());
    {
        LibAppResource deinstaller(path.Path(), B_READ_WRITE);
        if (status == B_OK)
            status = deinstaller.AddResource(
                B_STRING_TYPE, kConfigurationId, bytes.data(), bytes.size(), kConfigurationName);
        if (status == B_OK)
            status = deinstaller.Sync();
    }
    if (status != B_OK)
        Report(kRunLevel,
            "the deinstaller cannot be configured: its record could not be written into "
                + std::string(path.Path()));
    oLocalize texts;
    LibNode(path.Path()).WriteStringAttr("language", texts.Language());
    return true;
}

void InstallRun::CreateStartupFolder()
{
    if (!fConfig.FindBool("opt_create_startup"))
        return;
    LibString folder;
    fConfig.GetNewPath("StartUp", fCustomFolders, fVolume, fSavedFolder.Path(), folder);
    if (folder.Length() == 0) {
        Report(kRunLevel, "the configuration defines no StartUp folder; no start-up section");
        return;
    }
    fConfig.Log("\tCreating StartUp folder in %s.\n", static_cast<const char*>(folder));
    LibString section;
    InstallConfig::BuildStartupString(folder, section);
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", "StartUpFolder", section);
}

void InstallRun::EditScripts()
{
    struct Edit {
        const ScriptEditKeys& keys;
        directory_which folder;
        const char* file;
    };
    static const Edit kEdits[] = {
        {kBootScriptEdit, B_USER_BOOT_DIRECTORY, "UserBootscript"},
        {kSetupEnvEdit, B_USER_BOOT_DIRECTORY, "UserSetupEnvironment"},
        {kProfileEdit, B_USER_DIRECTORY, ".profile"},
    };
    for (const Edit& edit : kEdits) {
        if (!fConfig.FindBool(edit.keys.flag))
            continue;
        const char* tag = fConfig.FindString(edit.keys.tag);
        const char* contents = fConfig.FindString(edit.keys.contents);
        // The log names the file this system really edits.
        BPath folder;
        find_directory(edit.folder, &folder);
        fConfig.Log("\tAdded script tab %s to %s/%s\n", tag, folder.Path(), edit.file);
        EditScriptFile(edit.folder, edit.file, tag, contents);
        thread_cancellation_point();
    }
}
