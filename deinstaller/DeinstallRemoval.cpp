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
#include "Trash.h"

namespace {

// Names tried in a chosen folder before one is taken as free.
constexpr int kMaxCopyNames = 1000;

bool Exists(const std::string& path)
{
    struct stat st;
    BEntry entry(path.c_str());
    return entry.InitCheck() == B_OK && entry.GetStat(&st) == B_OK;
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
    RunPass(Pass::Files, remaining, counts);
    RunPass(Pass::Folders, remaining, counts);
    if (!counts.stopped)
        EditScripts();
    return counts;
}

// One pass from the last found entry to the first. A tagged folder comes
// before the entries inside it in the list, so walking backwards moves
// inner folders before the folders that hold them.
void DeinstallRemoval::RunPass(Pass pass, long& remaining, RemovalCounts& counts)
{
    for (size_t i = fItems.size(); i-- > 0 && !counts.stopped;) {
        const Item& item = fItems[i];
        if (!item.selected)
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
                + static_cast<const char*>(item.path));
            ++counts.changed;
            continue;
        }
        if (isFolder && BDirectory(item.path).CountEntries() != 0) {
            ++counts.kept;
            continue;
        }
        if (MoveAway(item.path)) {
            ++counts.moved;
        } else {
            ++counts.failed;
            ReportProblem(std::string("Could not move ") + static_cast<const char*>(item.path)
                + " to " + fDestination);
        }
        Report(item.path, remaining--);
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

// Moves the entry itself (a link as a link) away; nothing already at the
// destination is overwritten unless the user chose Replace.
bool DeinstallRemoval::MoveAway(const char* path)
{
    BPath entry(path);
    if (fToTrash) // the Trash names clashes itself and keeps what it holds
        return move_to_trash(path, TrashClash::KeepBoth) == B_OK;
    std::string leaf = entry.Leaf();
    if (SameNode(path, fDestination + "/" + leaf))
        return true; // already in the chosen folder: asking would offer to delete it
    CheckAndPrompt(entry, fDestination.c_str(), fAsk, fReplace);
    for (int attempt = 0; attempt < kMaxCopyNames; ++attempt) {
        std::string target = fDestination + "/" + trash_clash_name(leaf, attempt);
        if (!Exists(target))
            return move_entry(path, target.c_str(), TargetMode::ExactPath) == B_OK;
    }
    return false;
}

void DeinstallRemoval::Report(const char* path, long remaining)
{
    if (!fParent.IsValid())
        return;
    BMessage progress(kSearchProgressMessage);
    progress.AddFloat("size", -1.0f);
    progress.AddString("folder", BPath(path).Leaf());
    LibString count;
    count.Formatted("%ld", remaining);
    progress.AddString("found", count);
    fParent.SendMessage(&progress);
}

void DeinstallRemoval::ReportProblem(const std::string& text)
{
    if (!fParent.IsValid())
        return;
    BMessage problem(kRemovalProblemMessage);
    problem.AddString("message", text);
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
