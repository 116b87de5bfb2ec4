// The removal of what a search found, without a window: the selected
// entries are moved into the Trash or a chosen folder. A selected folder
// that holds nothing but selected entries of the product leaves whole, as
// one entry; the rest goes entry by entry, files first, then the folders
// that are empty by then, each pass from the last found entry to the first.
// Then the product's tagged sections leave the user's shell scripts.
// Progress goes to the parent as 'slmt' (once) and 'snfi' (per entry, or
// per folder leaving whole, its "size" minus the entries that went), and
// each entry that stays against the user's choice as 'srpb'.
#pragma once

#include "BMessenger.h"
#include "DeinstallSearch.h"
#include "LibString.h"
#include "LibStringList.h"
#include "SubtreeSurvey.h"

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

// Sent once before the removal: int32 "size", the number of selected entries.
constexpr uint32 kRemovalLimitMessage = 'slmt';
// An entry that could not be moved, or that changed since the search and is
// left alone: string "message" says which and why, string "path" which.
constexpr uint32 kRemovalProblemMessage = 'srpb';

struct RemovalCounts {
    int32 moved = 0;      // moved to the destination (a whole folder with everything in it)
    int32 failed = 0;     // could not be moved
    int32 changed = 0;    // no longer the entry the search found: left alone
    int32 kept = 0;       // folders that still hold something
    bool stopped = false; // the stop check ended the removal early
};

class DeinstallRemoval {
public:
    // `parent` receives the progress messages; an invalid one receives none.
    explicit DeinstallRemoval(const BMessenger& parent);

    // Every path selected; without nodes only the tag is checked again.
    void SetPaths(LibStringList& paths);
    void SetPaths(LibStringList& paths, const std::vector<FoundNode>& nodes);
    int32 CountItems() const { return int32(fItems.size()); }
    const char* PathAt(int32 index) const;
    void SetSelected(int32 index, bool selected);
    bool IsSelected(int32 index) const;
    int32 CountSelected() const;
    // The key the entries must still carry to be moved.
    void SetKey(const char* key) { fKey = key; }
    // An empty tag leaves that file alone.
    void SetUserScripts(
        const LibString& bootScriptTag, const LibString& setupEnvTag, const LibString& profileTag);

    // The folder that receives the entries; null or empty: the Trash.
    void SetMovePath(const char* path);
    // The destination's full path (the boot volume's Trash by default).
    const char* MovePath() const { return fDestination.c_str(); }
    bool MovesToTrash() const { return fToTrash; }
    // Asked before each entry; true ends the removal there, before the
    // script edits (each entry is moved whole or not at all).
    void SetStopCheck(std::function<bool()> check) { fStopCheck = std::move(check); }

    // The removal and the script edits.
    RemovalCounts DeinstallFiles();

private:
    struct Item {
        LibString path;
        FoundNode node;
        bool hasNode = false;
        bool selected = true;
        bool takenAlong = false; // left inside a folder that moved whole
    };

    // Moves each selected folder that holds nothing but selected entries of
    // the product as one entry; true unless a stop ended the removal.
    bool MoveWholeFolders(long& remaining, RemovalCounts& counts);
    // The selected folders not inside another selected folder, in list order.
    std::vector<size_t> OutermostFolders() const;
    // The item a node found afresh still is, or -1 (not found, not
    // selected, another node, or no longer tagged with the key).
    int64 Claim(
        const WalkEntry& entry, const std::unordered_map<std::string, size_t>& byPath) const;
    bool MoveWhole(const ClaimedSubtree& subtree, long& remaining, RemovalCounts& counts);
    enum class Pass { Files, Folders };
    void RunPass(Pass pass, long& remaining, RemovalCounts& counts);
    // Whether the item still names the node the search found, tagged with
    // the key; `st` receives the node's status.
    bool StillFound(const Item& item, struct stat& st) const;
    // Moves the entry away; `arrived` receives its new place, also when it
    // arrived there but its old place could not be emptied.
    status_t MoveAway(
        const char* path, std::string* arrived = nullptr, const std::function<bool()>& cancel = {});
    // One moved entry, or a folder that took `together` - 1 entries along.
    void Report(const char* path, long remaining, long together);
    void ReportProblem(const std::string& text, const char* path);
    // "Could not move PATH to FOLDER: why".
    void ReportFailure(const char* path, status_t status);
    void EditScripts();

    BMessenger fParent;
    std::vector<Item> fItems;
    LibString fKey;
    LibString fBootScriptTag;
    LibString fSetupEnvTag;
    LibString fProfileTag;
    std::string fDestination;
    bool fToTrash = true;
    // The collision question's pair: ask again, and the last answer.
    bool fAsk = true;
    bool fReplace = false;
    std::function<bool()> fStopCheck;
};
