#include "InstallRun.h"

#include "BEntry.h"
#include "DesktopEntry.h"
#include "FileOperations.h"
#include "FindDirectory.h"
#include "InstallConfig.h"
#include "InstallPayloads.h"
#include "InstallTexts.h"
#include "KernelThreads.h"
#include "LibFileOperations.h"
#include "LibMessageBox.h"
#include "RecordKeys.h"
#include "StagingFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool Exists(const char* path)
{
    BEntry entry(path);
    return entry.InitCheck() == B_OK && entry.Exists();
}

bool IsRealFolder(const char* path)
{
    BEntry entry(path);
    return entry.InitCheck() == B_OK && entry.IsDirectory();
}

// Moves into `folder`, replacing a file of the same name there; a stop
// unwinds out of a copy across volumes, which then leaves nothing behind.
bool MoveInto(const char* item, const char* folder)
{
    return move_entry(item, folder, TargetMode::IntoFolder, [] {
        thread_cancellation_point();
        return false;
    }) == B_OK;
}

} // namespace

bool InstallRun::InstallItems()
{
    fAskItem = fItemAnswer = fAskLink = fLinkAnswer = true;
    fTotal = 0;
    BMessage entry;
    for (int32 i = 0; fInstructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        if (entry.FindBool("install_to_system"))
            ++fTotal;
    }
    fPlaced = 0;
    for (int32 i = 0; fInstructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        thread_cancellation_point();
        if (!entry.FindBool("install_to_system"))
            continue;
        if (!InstallItem(i, entry))
            return false;
        fInstructions.ReplaceMessage("install_file", i, &entry);
    }
    return true;
}

const char* InstallRun::ItemLeaf(const BMessage& entry, BPath& named)
{
    named.SetTo(entry.FindString("file_name"));
    const char* leaf = named.InitCheck() == B_OK ? named.Leaf() : nullptr;
    if (leaf == nullptr || *leaf == '\0' || strcmp(leaf, "..") == 0 || strcmp(leaf, ".") == 0)
        return nullptr;
    return leaf;
}

void InstallRun::StartUnpacking()
{
    LibExtractOptions options;
    // A stop unwinds from here, while the unpacker waits; what it had not
    // placed goes with it.
    options.shouldStop = [] {
        thread_cancellation_point();
        return false;
    };
    // Every checksum was verified before the run.
    options.checked = true;
    options.progress = [this](uint64 done, uint64) {
        if (fProgress && !fItemUnderway.empty())
            fProgress->ItemProgress(done);
    };
    fUnpacker = std::make_unique<LibPayloadUnpacker>(*fResources, options);
    if (IncludesDeinstaller())
        fDeinstallerTurn = fUnpacker->Add(kDeinstallerPayloadId, DeinstallerPath().Path());
    // Deinstallable items carry their tag from the moment they are written.
    const char* text = fTag;
    ZipAttributeList tag {ZipAttribute {
        kInstallByAttr, B_STRING_TYPE, std::vector<uint8>(text, text + strlen(text))}};
    BMessage entry;
    for (int32 i = 0; fInstructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        fTurns.push_back(SIZE_MAX);
        BPath named;
        const char* leaf = ItemLeaf(entry, named);
        if (!entry.FindBool("install_to_system") || leaf == nullptr)
            continue;
        BMessage meta;
        entry.FindMessage("install_meta", &meta);
        bool deinstallable = strcmp(meta.FindString("deinstallable"), "True") == 0;
        fTurns.back() = fUnpacker->Add(kFirstItemPayloadId + i, BPath(fProduct.Path(), leaf).Path(),
            deinstallable ? tag : ZipAttributeList());
    }
}

bool InstallRun::Place(size_t turn, int32 id, const char* destination,
    const std::function<void(const char* item)>& prepare)
{
    // Whatever an earlier item of the same name left there gives way.
    if (Exists(destination))
        LibUnlink(destination);
    bool placed = fUnpacker->Place(turn, prepare);
    thread_cancellation_point();
    if (placed)
        return true;
    status_t status = fUnpacker->LastStatus();
    fFailure
        = status == B_BAD_DATA || status == B_NOT_ALLOWED ? kRunDamaged : kRunDestinationUnusable;
    std::string problem = "payload " + std::to_string(id) + ": " + fUnpacker->ErrorMessage();
    fConfig.SetRunProblem(problem.c_str());
    // A member the check before the run could not see into (its data) is
    // damaged: the same alert as a payload refused before anything was
    // written.
    if (fFailure == kRunDamaged)
        LibError("%s", kImproperlyBuiltText);
    return false;
}

bool InstallRun::InstallItem(int32 index, BMessage& entry)
{
    BPath named;
    const char* leaf = ItemLeaf(entry, named);
    if (leaf == nullptr) {
        fFailure = kRunDamaged;
        fConfig.SetRunProblem(("entry " + std::to_string(index) + " names no item").c_str());
        return false;
    }
    BPath path(fProduct.Path(), leaf);
    fConfig.Log("\t\tInstalling : %s\n", leaf);
    ++fPlaced;
    fConfig.UpdateStatus(
        static_cast<const char*>(InstallString(kTextInstalling)), int(fPlaced), int(fTotal), leaf);
    fProgress->StartItem(fItemBytes[size_t(index)]);
    BMessage meta;
    entry.FindMessage("install_meta", &meta);
    bool deinstallable = strcmp(meta.FindString("deinstallable"), "True") == 0;
    // The tag was written with the item; its times are set while it is
    // still hidden too, so that a stop can never leave a placed item that
    // the deinstaller would not find.
    bool prepared = false;
    auto prepare = [&](const char* item) {
        StampTimes(entry, item, path.Path());
        prepared = true;
    };
    fItemUnderway = path.Path();
    bool extracted
        = Place(fTurns[size_t(index)], kFirstItemPayloadId + index, path.Path(), prepare);
    fItemUnderway.clear();
    if (!extracted) {
        fConfig.Log("\t\t\tNot placed: %s\n", fConfig.RunProblem());
        return false;
    }
    fProgress->FinishItem();
    if (!prepared) // nothing was unpacked: say so as for any item without times
        StampTimes(entry, path.Path(), path.Path());

    PlaceItem(meta, leaf, path);
    entry.ReplaceString("file_name", path.Path());
    if (!deinstallable)
        fConfig.Log("\t\t\tThis file will not be removed by the de-installer\n");
    PlaceLink(meta, path, deinstallable);
    return true;
}

void InstallRun::StampTimes(const BMessage& entry, const char* path, const char* shownPath)
{
    BEntry item(path);
    bool stamped = item.InitCheck() == B_OK && item.Exists();
    int64 seconds = 0;
    // Linux keeps no settable creation time; the other two are set exactly.
    if (stamped && entry.FindInt64("file_modified", &seconds) == B_OK)
        stamped = item.SetModificationTime(time_t(seconds)) == B_OK;
    if (stamped && entry.FindInt64("file_accessed", &seconds) == B_OK)
        stamped = item.SetAccessTime(time_t(seconds)) == B_OK;
    if (!stamped) {
        fprintf(stderr, "unable to set date/time for %s\n", shownPath);
        Report(kItemLevel, std::string("unable to set date/time for ") + shownPath);
    }
}

void InstallRun::PlaceItem(const BMessage& meta, const char* leaf, BPath& path)
{
    const char* place = meta.FindString("destination");
    if (strcmp(place, "User Selected") == 0)
        return;
    LibString folder;
    fConfig.GetNewPath(place, fCustomFolders, fVolume, fSavedFolder.Path(), folder);
    if (folder.Length() == 0) {
        // An unknown place: the item stays in the product folder.
        fConfig.Log("\t\t\tCould not find folder %s\n", place);
        fConfig.Notice("no folder is named %s; %s stays in %s", place, leaf, fProduct.Path());
        return;
    }
    if (!fConfig.ReplaceControl(folder, path, meta.FindString("destination_exists"), fAskItem,
            fItemAnswer, fSavedFolder)) {
        fConfig.Log(
            "\t\t\tUser desired not to place item in %s\n", static_cast<const char*>(folder));
        return;
    }
    BPath target(folder, leaf);
    if (!fConfig.FindBool("opt_save_replaced") && IsRealFolder(path.Path())
        && Exists(target.Path())) {
        LibUnlink(target.Path());
        fConfig.Log("\t\t\tRemoved existing folder %s\n", target.Path());
    }
    if (!MoveInto(path.Path(), folder)) {
        Report(kItemLevel,
            std::string("unable to move ") + leaf + " into " + static_cast<const char*>(folder)
                + "; it stays in " + fProduct.Path());
        return;
    }
    fConfig.Log("\t\t\tPlaced in %s\n", static_cast<const char*>(folder));
    path = target;
}

void InstallRun::PlaceLink(const BMessage& meta, const BPath& item, bool deinstallable)
{
    const char* place = meta.FindString("link");
    if (strcmp(place, "None") == 0)
        return;
    LibString folder;
    bool check = strcmp(place, "User Selected") != 0;
    if (check)
        fConfig.GetNewPath(place, fCustomFolders, fVolume, fSavedFolder.Path(), folder);
    else
        folder = fProduct.Path();
    if (folder.Length() == 0) {
        fConfig.Log("\t\t\tCould not find folder %s\n", place);
        fConfig.Notice("no folder is named %s; no link to %s", place, item.Path());
        return;
    }
    BPath menus;
    if (find_directory(B_USER_DESKBAR_DIRECTORY, &menus) == B_OK
        && strcmp(menus.Path(), static_cast<const char*>(folder)) == 0) {
        if (PlaceMenuEntry(meta, item, folder, check))
            FinishLink(
                BPath(folder, DesktopEntry::FileName(item.Leaf()).c_str()), folder, deinstallable);
        return;
    }
    BPath link(folder, item.Leaf());
    if (strcmp(link.Path(), item.Path()) == 0) {
        // The link would take the item's own place and replace it.
        Report(kItemLevel, std::string("no link to ") + item.Path() + " in its own folder");
        return;
    }
    if (check
        && !fConfig.ReplaceControl(
            folder, item, meta.FindString("link_exists"), fAskLink, fLinkAnswer, fSavedFolder)) {
        fConfig.Log(
            "\t\t\tUser desired not to place a link in %s\n", static_cast<const char*>(folder));
        return;
    }
    if (!LibSymLink(item.Path(), link.Path())) {
        Report(kItemLevel,
            std::string("unable to place a link to ") + item.Path() + " in "
                + static_cast<const char*>(folder));
        return;
    }
    FinishLink(link, folder, deinstallable);
}

void InstallRun::FinishLink(const BPath& link, const char* folder, bool deinstallable)
{
    // Only the new link is typed: typing the whole place (a home folder)
    // would read and change every file in it.
    Libmimeset(link.Path());
    fConfig.Log("\t\t\tPlaced a link in %s\n", folder);
    if (deinstallable)
        fConfig.AddDeinstallTag(link.Path(), fTag);
    else
        fConfig.Log("\t\t\tThis link will not be removed by the de-installer\n");
}

// The entry is written beside its place first, so that a collision there is
// settled with the entry in hand, as for any other link.
bool InstallRun::PlaceMenuEntry(
    const BMessage& meta, const BPath& item, const char* folder, bool check)
{
    const std::string name = DesktopEntry::FileName(item.Leaf());
    const BPath final(folder, name.c_str());
    StagingFolder staging;
    BPath staged;
    if (staging.CreateBeside(final.Path()) != B_OK
        || staged.SetTo(staging.Path().c_str(), name.c_str()) != B_OK
        || DesktopEntry(item.Path(), item.Leaf()).Write(staged.Path()) != B_OK) {
        Report(kItemLevel,
            std::string("unable to place a menu entry for ") + item.Path() + " in " + folder);
        return false;
    }
    if (check
        && !fConfig.ReplaceControl(
            folder, staged, meta.FindString("link_exists"), fAskLink, fLinkAnswer, fSavedFolder)) {
        fConfig.Log("\t\t\tUser desired not to place a link in %s\n", folder);
        return false;
    }
    if (rename(staged.Path(), final.Path()) != 0) {
        Report(kItemLevel,
            std::string("unable to place a menu entry for ") + item.Path() + " in " + folder + ": "
                + strerror(errno));
        return false;
    }
    return true;
}
