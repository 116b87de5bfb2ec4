// One install run of a configuration record, in the order the run takes:
// requirements, destination, product folder, log, deinstaller, start-up
// folder, every selected item, script edits, launching and completion. It
// holds the run's working values; InstallConfig::Action() makes one and
// performs it on the "install" thread.
#pragma once

#include "BMessage.h"
#include "BPath.h"
#include "BVolume.h"
#include "ExclusiveLock.h"
#include "InstallByteProgress.h"
#include "LibAppResource.h"
#include "LibPayloadUnpacker.h"
#include "LibString.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class InstallConfig;

// Results of a run, as Action() returns them.
enum : int32 {
    kRunFinished = 0,            // completed, or the requirement check ended it
    kRunDestinationUnusable = 1, // no destination, no product folder, or a write failed
    kRunNotEnoughSpace = 3,      // the chosen volume is too small
    kRunDamaged = 5,             // a payload is missing, damaged or unsafe
};

// What the requirement check answers.
enum : int32 {
    kRequirementsMet = 1,
    kRequirementsNoSpace = 2,
    kRequirementsAbort = 3,
};

class InstallRun {
public:
    explicit InstallRun(InstallConfig& config);
    ~InstallRun();

    int32 Perform();

private:
    bool OpenDestination();
    bool CheckPayloads();
    // The product folder's place and the product itself, for this run
    // alone; false (with the alert said) when another run or a removal has
    // either.
    bool LockPlace();
    // Moves what is at the product folder's place to the Trash, and tells.
    bool TrashExisting();
    bool CreateProductFolder();
    void WriteLogHeader();
    void LogRequirements();
    // Hands the deinstaller and every selected item to the unpacker, which
    // unpacks them ahead of their turn.
    void StartUnpacking();
    bool IncludesDeinstaller() const;
    BPath DeinstallerPath() const;
    bool PlaceDeinstaller();
    void CreateStartupFolder();
    bool InstallItems();
    bool InstallItem(int32 index, BMessage& entry);
    // Places the payload of unpacking turn `turn` at `destination`; `prepare`
    // is given the unpacked item while it is still hidden.
    bool Place(size_t turn, int32 id, const char* destination,
        const std::function<void(const char* item)>& prepare = {});
    // The item's leaf name, or null when its "file_name" names none.
    static const char* ItemLeaf(const BMessage& entry, BPath& named);
    // Sets the item's times; a failure names it by `shownPath`.
    void StampTimes(const BMessage& entry, const char* path, const char* shownPath);
    void PlaceItem(const BMessage& meta, const char* leaf, BPath& path);
    void PlaceLink(const BMessage& meta, const BPath& item, bool deinstallable);
    // A link into the applications menu folder: a desktop entry instead,
    // which menus show. False when nothing could be placed.
    bool PlaceMenuEntry(const BMessage& meta, const BPath& item, const char* folder, bool check);
    void FinishLink(const BPath& link, const char* folder, bool deinstallable);
    void EditScripts();
    void Complete();
    int32 Fail(int32 status, const std::string& problem);
    // A problem that does not end the run: a log line at `indent` (one tab
    // for the run, three for an item), a status line, and a notice in the
    // outcome.
    void Report(const char* indent, const std::string& problem);
    static constexpr const char* kRunLevel = "\t";
    static constexpr const char* kItemLevel = "\t\t\t";
    // The local date and time as the log writes them.
    static LibString Now();

    InstallConfig& fConfig;
    std::unique_ptr<LibAppResource> fResources;
    BVolume fVolume;
    LibString fVolumeName;
    LibString fTag;
    BPath fDestination;
    BPath fProduct;
    BPath fSavedFolder;            // unset when replaced entries are not kept
    bool fTrashedExisting = false; // the product folder's place was emptied
    BMessage fCustomFolders;
    BMessage fInstructions;
    bool fAskItem = true;
    bool fItemAnswer = true;
    bool fAskLink = true;
    bool fLinkAnswer = true;
    int32 fFailure = kRunFinished; // why the run stopped early
    int32 fTotal = 0;
    int32 fPlaced = 0;
    // The first place of the item being unpacked; empty between items.
    std::string fItemUnderway;
    std::vector<uint64> fItemBytes; // by entry index; selected items only
    size_t fDeinstallerTurn = 0;
    std::vector<size_t> fTurns; // by entry index; selected items only
    std::unique_ptr<InstallByteProgress> fProgress;
    // Held until the run ends, also when a stop unwinds it.
    ExclusiveLock fPlaceLock;
    ExclusiveLock fProductLock;
    // Goes first, with what it had not placed, while the locks still hold.
    std::unique_ptr<LibPayloadUnpacker> fUnpacker;
};
