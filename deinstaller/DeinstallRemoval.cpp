#include "DeinstallRemoval.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BMessage.h"
#include "BNode.h"
#include "BPath.h"
#include "CheckAndPrompt.h"
#include "EditScriptFile.h"
#include "FileOperations.h"
#include "FindDirectory.h"
#include "LibFileOperations.h"
#include "StatusText.h"
#include "Trash.h"

#include <algorithm>

namespace {

// Names tried in a chosen folder before one is taken as free.
constexpr int kMaxCopyNames = 1000;

bool Exists(const std::string& path)
{
    struct stat st;
    BEntry entry(path.c_str());
    return entry.InitCheck() == B_OK && entry.GetStat(&st) == B_OK;
}

bool IsInside(const std::string& folder, const std::string& path)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0
        && path[folder.size()] == '/';
}

bool SameNode(const std::string& a, const std::string& b)
{
    struct stat first;
    struct stat second;
    return BEntry(a.c_str()).GetStat(&first) == B_OK && BEntry(b.c_str()).GetStat(&second) == B_OK
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

DeinstallRemoval::DeinstallRemoval(const BMessenger& parent)
    : fParent(parent)
{
    SetMovePath(nullptr);
}

void DeinstallRemoval::SetPaths(LibStringList& paths)
{
    SetPaths(paths, {});
}

void DeinstallRemoval::SetPaths(LibStringList& paths, const std::vector<FoundNode>& nodes)
{
    fItems.clear();
    int32 index = 0;
    for (LibString* path = paths.First(); path != nullptr; path = paths.Next(), ++index) {
        Item item;
        item.path = *path;
        if (size_t(index) < nodes.size()) {
            item.node = nodes[size_t(index)];
            item.hasNode = true;
        }
        fItems.push_back(item);
    }
}

const char* DeinstallRemoval::PathAt(int32 index) const
{
    if (index < 0 || index >= CountItems())
        return nullptr;
    return fItems[size_t(index)].path;
}

void DeinstallRemoval::SetSelected(int32 index, bool selected)
{
    if (index >= 0 && index < CountItems())
        fItems[size_t(index)].selected = selected;
}

bool DeinstallRemoval::IsSelected(int32 index) const
{
    return index >= 0 && index < CountItems() && fItems[size_t(index)].selected;
}

int32 DeinstallRemoval::CountSelected() const
{
    int32 selected = 0;
    for (const Item& item : fItems)
        selected += item.selected ? 1 : 0;
    return selected;
}

void DeinstallRemoval::SetUserScripts(
    const LibString& bootScriptTag, const LibString& setupEnvTag, const LibString& profileTag)
{
    fBootScriptTag = bootScriptTag;
    fSetupEnvTag = setupEnvTag;
    fProfileTag = profileTag;
}

void DeinstallRemoval::SetMovePath(const char* path)
{
    fToTrash = path == nullptr || *path == '\0';
    if (!fToTrash) {
        fDestination = BPath(path).Path() ? BPath(path).Path() : path;
        return;
    }
    BPath trash;
    fDestination = find_directory(B_TRASH_DIRECTORY, &trash) == B_OK ? trash.Path() : "";
}

RemovalCounts DeinstallRemoval::DeinstallFiles()
{
    long selected = CountSelected();
    if (fParent.IsValid()) {
        BMessage limit(kRemovalLimitMessage);
        limit.AddInt32("size", int32(selected));
        fParent.SendMessage(&limit);
    }
    RemovalCounts counts;
    long remaining = selected;
    for (Item& item : fItems)
        item.takenAlong = false;
    if (MoveWholeFolders(remaining, counts)) {
        RunPass(Pass::Files, remaining, counts);
        RunPass(Pass::Folders, remaining, counts);
    }
    if (!counts.stopped)
        EditScripts();
    return counts;
}

// A folder leaves whole only as the survey finds it now, not as the search
// did: an entry added since, one the user kept, a mount point or an
// unreadable folder inside keeps it, and its entries go one by one.
bool DeinstallRemoval::MoveWholeFolders(long& remaining, RemovalCounts& counts)
{
    std::vector<size_t> tops = OutermostFolders();
    if (tops.empty())
        return true;
    std::unordered_map<std::string, size_t> byPath;
    for (size_t i = 0; i < fItems.size(); ++i)
        byPath.emplace(static_cast<const char*>(fItems[i].path), i);
    SubtreeSurvey survey(kInstallByAttr, std::max<size_t>(255, size_t(fKey.Length())));
    auto claim = [&](const WalkEntry& entry) { return Claim(entry, byPath); };
    for (size_t t = tops.size(); t-- > 0;) {
        for (const ClaimedSubtree& subtree :
            survey.Survey(static_cast<const char*>(fItems[tops[t]].path), claim)) {
            if (fStopCheck && fStopCheck()) {
                counts.stopped = true;
                return false;
            }
            if (!MoveWhole(subtree, remaining, counts))
                return false;
        }
    }
    return true;
}

std::vector<size_t> DeinstallRemoval::OutermostFolders() const
{
    std::vector<size_t> tops;
    std::string top;
    for (size_t i = 0; i < fItems.size(); ++i) {
        const Item& item = fItems[i];
        std::string path = static_cast<const char*>(item.path);
        if (!item.selected || (!top.empty() && IsInside(top, path)))
            continue;
        struct stat st;
        if (BEntry(item.path).GetStat(&st) != B_OK || !S_ISDIR(st.st_mode))
            continue;
        tops.push_back(i);
        top = path;
    }
    return tops;
}

int64 DeinstallRemoval::Claim(
    const WalkEntry& entry, const std::unordered_map<std::string, size_t>& byPath) const
{
    auto found = byPath.find(*entry.path);
    if (found == byPath.end())
        return -1;
    const Item& item = fItems[found->second];
    if (!item.selected || item.takenAlong
        || (item.hasNode && (item.node.device != entry.device || item.node.inode != entry.inode)))
        return -1;
    if (fKey.Length() > 0
        && (entry.attribute != WalkAttribute::Value || entry.type != B_STRING_TYPE
            || entry.value
                != std::string_view(static_cast<const char*>(fKey), size_t(fKey.Length()))))
        return -1;
    return int64(found->second);
}

// False when a stop ended the removal during the move. A move that failed
// before anything arrived leaves the folder's entries to the passes, one
// by one; one that arrived but could not empty the old place counts as
// failed and is not tried again, so nothing arrives twice.
bool DeinstallRemoval::MoveWhole(
    const ClaimedSubtree& subtree, long& remaining, RemovalCounts& counts)
{
    Item& top = fItems[size_t(subtree.top)];
    std::string arrived;
    status_t status = MoveAway(top.path, &arrived, fStopCheck);
    if (status == B_CANCELED) {
        counts.stopped = true;
        return false;
    }
    if (status != B_OK && arrived.empty())
        return true;
    top.takenAlong = true;
    for (int64 member : subtree.members)
        fItems[size_t(member)].takenAlong = true;
    long together = 1 + long(subtree.members.size());
    remaining -= together;
    if (status == B_OK) {
        counts.moved += int32(together);
        // Shown as the last of its entries to go: the count drops by all of
        // them and still ends at 1, and the bar by as many.
        Report(top.path, remaining + 1, together);
    } else {
        ++counts.failed;
        ReportFailure(top.path, status);
    }
    return true;
}

// One pass from the last found entry to the first. A tagged folder comes
// before the entries inside it in the list, so walking backwards moves
// inner folders before the folders that hold them.
void DeinstallRemoval::RunPass(Pass pass, long& remaining, RemovalCounts& counts)
{
    for (size_t i = fItems.size(); i-- > 0 && !counts.stopped;) {
        const Item& item = fItems[i];
        if (!item.selected || item.takenAlong)
            continue;
        if (fStopCheck && fStopCheck()) {
            counts.stopped = true;
            return;
        }
        struct stat st;
        BEntry entry(item.path);
        if (entry.InitCheck() != B_OK || entry.GetStat(&st) != B_OK)
            continue; // gone since the search
        bool isFolder = S_ISDIR(st.st_mode);
        if (isFolder != (pass == Pass::Folders))
            continue;
        if (!StillFound(item, st)) {
            ReportProblem(std::string("Left alone, not the entry the search found: ")
                    + static_cast<const char*>(item.path),
                item.path);
            ++counts.changed;
            continue;
        }
        if (isFolder && BDirectory(item.path).CountEntries() != 0) {
            ++counts.kept;
            continue;
        }
        // Only an entry that went is announced as removed.
        status_t status = MoveAway(item.path);
        if (status == B_OK) {
            ++counts.moved;
            Report(item.path, remaining, 1);
        } else {
            ++counts.failed;
            ReportFailure(item.path, status);
        }
        --remaining;
    }
}

bool DeinstallRemoval::StillFound(const Item& item, struct stat& st) const
{
    if (item.hasNode && (st.st_dev != item.node.device || st.st_ino != item.node.inode))
        return false;
    if (fKey.Length() == 0)
        return true;
    BNode node(item.path);
    attr_info info;
    if (node.InitCheck() != B_OK || node.GetAttrInfo(kInstallByAttr, &info) != B_OK
        || info.size != off_t(fKey.Length()))
        return false;
    LibString value(long(fKey.Length()) + 1);
    ssize_t read = node.ReadAttr(
        kInstallByAttr, B_STRING_TYPE, 0, static_cast<char*>(value), size_t(fKey.Length()));
    if (read != ssize_t(fKey.Length()))
        return false;
    static_cast<char*>(value)[read] = '\0';
    return value.Compare(fKey) == 0;
}

// Moves the entry itself (a link as a link, a folder with everything in
// it) away; nothing already at the destination is overwritten unless the
// user chose Replace.
status_t DeinstallRemoval::MoveAway(
    const char* path, std::string* arrived, const std::function<bool()>& cancel)
{
    BPath entry(path);
    if (fToTrash) // the Trash names clashes itself and keeps what it holds
        return move_to_trash(path, TrashClash::KeepBoth, arrived, cancel);
    std::string leaf = entry.Leaf();
    if (SameNode(path, fDestination + "/" + leaf))
        return B_OK; // already in the chosen folder: asking would offer to delete it
    CheckAndPrompt(entry, fDestination.c_str(), fAsk, fReplace);
    for (int attempt = 0; attempt < kMaxCopyNames; ++attempt) {
        std::string target = fDestination + "/" + trash_clash_name(leaf, attempt);
        if (Exists(target))
            continue;
        status_t status = move_entry(path, target.c_str(), TargetMode::ExactPath, cancel);
        if (arrived != nullptr && (status == B_OK || Exists(target)))
            *arrived = target;
        return status;
    }
    return B_FILE_EXISTS;
}

void DeinstallRemoval::Report(const char* path, long remaining, long together)
{
    if (!fParent.IsValid())
        return;
    BMessage progress(kSearchProgressMessage);
    progress.AddFloat("size", -float(together));
    progress.AddString("folder", BPath(path).Leaf());
    LibString count;
    count.Formatted("%ld", remaining);
    progress.AddString("found", count);
    fParent.SendMessage(&progress);
}

void DeinstallRemoval::ReportFailure(const char* path, status_t status)
{
    ReportProblem(
        std::string("Could not move ") + path + " to " + fDestination + ": " + status_text(status),
        path);
}

void DeinstallRemoval::ReportProblem(const std::string& text, const char* path)
{
    if (!fParent.IsValid())
        return;
    BMessage problem(kRemovalProblemMessage);
    problem.AddString("message", text);
    problem.AddString("path", path);
    fParent.SendMessage(&problem);
}

void DeinstallRemoval::EditScripts()
{
    // The start-up folder section ("StartUpFolder") is never removed here.
    if (fBootScriptTag.Length() > 0)
        EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", fBootScriptTag, nullptr);
    if (fSetupEnvTag.Length() > 0)
        EditScriptFile(B_USER_BOOT_DIRECTORY, "UserSetupEnvironment", fSetupEnvTag, nullptr);
    if (fProfileTag.Length() > 0)
        EditScriptFile(B_USER_DIRECTORY, ".profile", fProfileTag, nullptr);
}
