#include "InstallSession.h"

#include "BAlert.h"
#include "BEntry.h"
#include "FillIn.h"
#include "FindDirectory.h"
#include "InstallRun.h"
#include "InstallTexts.h"
#include "LibAppResource.h"
#include "LibMessageBox.h"
#include "LibPaths.h"
#include "LibShutdown.h"
#include "LibStdDirNames.h"
#include "RecordReader.h"
#include "StatusText.h"
#include "WorkingDirectory.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int32 kInstallPriority = 10;
// Purpose of the question whether to replace an existing product folder
// (docs/alerts.md).
constexpr const char* kExistingFolderPurpose = "existing-folder";
constexpr int32 kCancelButton = 0;
constexpr int32 kReplaceButton = 1;

} // namespace

InstallSession::InstallSession(const BMessenger& frontEnd)
    : fFrontEnd(frontEnd)
{ }

InstallSession::~InstallSession()
{
    // The record's own destructor stops a run that still goes.
}

bool InstallSession::Load()
{
    LibAppResource resources(B_READ_ONLY);
    return Load(resources);
}

bool InstallSession::Load(BResources& resources)
{
    // The run reads and writes the record while it goes.
    if (fRunning)
        return false;
    fGroups.clear();
    fFiles.clear();
    if (!RecordReader::Load(resources, fConfig)) {
        LibError("%s", kImproperlyBuiltText);
        return false;
    }
    ReadRows();
    SelectGroup(0);
    return true;
}

void InstallSession::ReadRows()
{
    BMessage instructions;
    fConfig.FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        InstallFile file;
        file.leaf = InstallConfig::EntryLeaf(entry);
        file.size = entry.FindInt32("file_size");
        file.groups = entry.FindString("groups");
        fFiles.push_back(file);
    }
    BMessage groups;
    fConfig.FindMessage("groups", &groups);
    const char* name;
    for (int32 i = 0; groups.FindString("group_name", i, &name) == B_OK; ++i) {
        InstallGroup group;
        group.name = name;
        group.description = groups.FindString("group_description", i);
        for (const InstallFile& file : fFiles) {
            if (InstallConfig::IsInGroup(file.groups.c_str(), name))
                group.size += file.size;
        }
        fGroups.push_back(group);
    }
}

const char* InstallSession::License() const
{
    return fConfig.FindString("license");
}

const InstallGroup* InstallSession::GroupAt(int32 index) const
{
    return index >= 0 && index < CountGroups() ? &fGroups[size_t(index)] : nullptr;
}

int32 InstallSession::FindGroup(const char* name) const
{
    for (int32 i = 0; name != nullptr && i < CountGroups(); ++i) {
        if (fGroups[size_t(i)].name == name)
            return i;
    }
    return -1;
}

void InstallSession::SelectGroup(int32 index)
{
    SelectAll(false);
    AddGroup(index);
}

void InstallSession::AddGroup(int32 index)
{
    const InstallGroup* group = GroupAt(index);
    if (group == nullptr)
        return;
    for (InstallFile& file : fFiles) {
        if (InstallConfig::IsInGroup(file.groups.c_str(), group->name.c_str()))
            file.selected = true;
    }
}

const InstallFile* InstallSession::FileAt(int32 index) const
{
    return index >= 0 && index < CountFiles() ? &fFiles[size_t(index)] : nullptr;
}

void InstallSession::SetFileSelected(int32 index, bool selected)
{
    if (index >= 0 && index < CountFiles())
        fFiles[size_t(index)].selected = selected;
}

void InstallSession::ToggleFile(int32 index)
{
    if (const InstallFile* file = FileAt(index))
        SetFileSelected(index, !file->selected);
}

int32 InstallSession::SelectFiles(const char* leaf, bool selected)
{
    int32 count = 0;
    for (InstallFile& file : fFiles) {
        if (leaf != nullptr && *leaf != '\0' && file.leaf == leaf) {
            file.selected = selected;
            ++count;
        }
    }
    return count;
}

void InstallSession::SelectAll(bool selected)
{
    for (InstallFile& file : fFiles)
        file.selected = selected;
}

int32 InstallSession::CountSelected() const
{
    int32 count = 0;
    for (const InstallFile& file : fFiles)
        count += file.selected ? 1 : 0;
    return count;
}

int64 InstallSession::SelectedBytes() const
{
    int64 total = 0;
    for (const InstallFile& file : fFiles)
        total += file.selected ? file.size : 0;
    return total;
}

int64 InstallSession::SelectionTotal() const
{
    return SelectedBytes() + fConfig.FindInt32(kDeinstallerSizeKey);
}

const char* InstallSession::Destination() const
{
    return fDestination.InitCheck() == B_OK ? fDestination.Path() : "";
}

bool InstallSession::SetDestination(const char* path)
{
    if (fRunning || path == nullptr)
        return false;
    std::string full = path;
    if (!full.empty() && full[0] != '/')
        full = working_directory() + "/" + full;
    BPath folder(full.c_str());
    // Only an existing folder will do: the run would otherwise first find no
    // volume to check the space on.
    entry_ref ref;
    if (full.empty() || folder.InitCheck() != B_OK || !BEntry(folder.Path(), true).IsDirectory()
        || !LibGetEntryRef(folder.Path(), ref)) {
        LibError("%s", static_cast<const char*>(InstallString(kTextNoFolder)));
        return false;
    }
    fDestination = folder;
    fConfig.SetDestination(ref);
    return true;
}

std::string InstallSession::DefaultDestination() const
{
    BPath folder;
    const char* name = nullptr;
    if (fConfig.FindString("opt_default_folder", &name) == B_OK) {
        if (strcmp(name, "Current") == 0)
            return working_directory();
        // Linux makes many standard folders only when first used.
        directory_which which;
        if (LibGetStdDirName(name, which) && find_directory(which, &folder, true) == B_OK)
            return folder.Path();
    }
    if (find_directory(B_USER_DIRECTORY, &folder, true) == B_OK)
        return folder.Path();
    return {};
}

bool InstallSession::ProductFolderExists()
{
    return fDestination.InitCheck() == B_OK && fConfig.DoesDestinationExist();
}

bool InstallSession::CheckDestinationFolder(bool prompt)
{
    if (!ProductFolderExists())
        return true;
    LibString text = InstallString(kTextFolderExistsStart);
    text.Concat(fConfig.FindString("opt_created_folder"))
        .Concat(InstallString(kTextFolderExistsEnd));
    if (!prompt) {
        BAlert warning("", text, InstallString(kTextOK));
        warning.SetPurpose(kMessageBoxPurpose);
        warning.Go();
        return false;
    }
    text.Concat(InstallString(kTextReplaceQuestion));
    BAlert question("", text, InstallString(kTextCancel), InstallString(kTextReplace));
    question.SetPurpose(kExistingFolderPurpose);
    // Unanswered, the destination stays as it was.
    question.SetDefaultButton(kCancelButton);
    return question.Go() == kReplaceButton;
}

status_t InstallSession::Start()
{
    if (fRunning)
        return B_BUSY;
    if (fDestination.InitCheck() != B_OK)
        return B_BAD_VALUE;
    if (!CheckDestinationWritable())
        return DestinationWritable();
    std::vector<bool> marks;
    for (const InstallFile& file : fFiles)
        marks.push_back(file.selected);
    fConfig.MarkInstallFiles(marks);
    status_t status = fConfig.Go("install", new BMessenger(fFrontEnd), kInstallPriority, false);
    fRunning = status == B_OK;
    return status;
}

// Whether this user can make the product folder in the destination, asked
// before anything starts so that the user learns why, not only that the
// product folder could not be made. A destination that does not exist yet
// is made by the run, so its nearest existing parent is the one asked.
status_t InstallSession::DestinationWritable() const
{
    std::string folder = fDestination.Path();
    while (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        const size_t slash = folder.rfind('/');
        if (errno != ENOENT || slash == std::string::npos || folder == "/")
            return errno == EROFS ? B_READ_ONLY_DEVICE : status_from_errno(errno);
        folder.resize(slash == 0 ? 1 : slash);
    }
    return B_OK;
}

bool InstallSession::CheckDestinationWritable()
{
    const status_t writable = DestinationWritable();
    if (writable == B_OK)
        return true;
    LibString text = InstallString(kTextFolderNotWritable);
    LibError("%s",
        fill_in(static_cast<const char*>(text), {fDestination.Path(), status_text(writable)})
            .c_str());
    return false;
}

bool InstallSession::Stop()
{
    if (!fRunning)
        return false;
    // A run that has just ended on its own, its end not yet heard, was not
    // stopped: only a thread that still lives says so.
    bool going = fConfig.Status() != 0;
    // The run ends at its next cancellation point; whatever it was building
    // beside its final place goes as it unwinds.
    fConfig.StopRun();
    fRunning = false;
    if (going)
        LibError("%s", static_cast<const char*>(InstallString(kTextStopped)));
    return going;
}

InstallOutcome InstallSession::Finish(const BMessage& ended)
{
    fRunning = false;
    InstallOutcome outcome;
    switch (ended.FindInt32("status")) {
    case kRunFinished:
        outcome.result = fConfig.RequirementVerdict() == kRequirementsAbort
            ? InstallResult::EndedByRequirement
            : InstallResult::Installed;
        break;
    case kRunNotEnoughSpace:
        outcome.result = InstallResult::NotEnoughSpace;
        break;
    case kRunDamaged:
        outcome.result = InstallResult::Damaged;
        break;
    default:
        outcome.result = InstallResult::DestinationUnusable;
        break;
    }
    outcome.problem = fConfig.RunProblem();
    outcome.notices = fConfig.RunNotices();
    outcome.restartRequested = fConfig.RestartRequested();
    return outcome;
}

bool InstallSession::Restart()
{
    return LibShutdown(true);
}
