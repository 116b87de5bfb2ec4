#include "SubtreeSurvey.h"

#include "AttributeStore.h"
#include "PathText.h"
#include "ScopedResources.h"
#include "WalkAttributeReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

WalkNodeKind KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return WalkNodeKind::Directory;
    if (S_ISLNK(mode))
        return WalkNodeKind::SymLink;
    return S_ISREG(mode) ? WalkNodeKind::File : WalkNodeKind::Other;
}

WalkEntry EntryFor(const std::string& path, const char* name, const struct stat& st)
{
    WalkEntry entry;
    entry.path = &path;
    entry.name = name;
    entry.kind = KindOf(st.st_mode);
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    return entry;
}

} // namespace

// The survey's state while it reads one folder's tree.
struct SubtreeSurvey::Pass {
    const Claim& claim;
    WalkAttributeReader reader;
    dev_t device;
    std::string path;
    // Claims in the order met; a whole subtree's claims are one run of it,
    // its top folder's first.
    std::vector<int64> claims;
    std::vector<Run> wholeRuns;
};

SubtreeSurvey::SubtreeSurvey(const std::string& attribute, size_t maxValueSize)
{
    fOptions.attribute = attribute;
    fOptions.maxValueSize = maxValueSize;
}

std::vector<ClaimedSubtree> SubtreeSurvey::Survey(const std::string& path, const Claim& claim)
{
    std::vector<ClaimedSubtree> result;
    std::string top = path;
    while (top.size() > 1 && top.back() == '/')
        top.pop_back();
    ScopedFd fd(open(top.c_str(), kFolderFlags));
    struct stat st;
    struct stat parent;
    if (!fd.IsValid() || fstat(fd.Get(), &st) != 0 || lstat(parent_path(top).c_str(), &parent) != 0)
        return result;
    Pass pass {
        claim, WalkAttributeReader(fOptions, StoreInodes(st.st_dev)), st.st_dev, top, {}, {}};
    std::string leaf = leaf_name(top);
    WalkEntry entry = EntryFor(pass.path, leaf.c_str(), st);
    pass.reader.Read(AT_FDCWD, nullptr, fd.Get(), pass.path, entry);
    int64 own = claim(entry);
    // A folder on another device than its parent is a mount point itself.
    bool claimed = own >= 0 && parent.st_dev == st.st_dev;
    if (claimed)
        pass.claims.push_back(own);
    if (SurveyFolder(pass, fd.Get(), 0, claimed))
        pass.wholeRuns.push_back({0, pass.claims.size()});
    std::sort(pass.wholeRuns.begin(), pass.wholeRuns.end(),
        [](const Run& a, const Run& b) { return a.begin < b.begin; });
    for (const Run& run : pass.wholeRuns) {
        ClaimedSubtree subtree;
        subtree.top = pass.claims[run.begin];
        subtree.members.assign(pass.claims.begin() + std::ptrdiff_t(run.begin) + 1,
            pass.claims.begin() + std::ptrdiff_t(run.end));
        result.push_back(std::move(subtree));
    }
    return result;
}

// Reads the open folder `fd` (pass.path is its path). True when the folder
// is claimed (`claimed`) and so is everything below it; otherwise the whole
// subfolders inside it stand on their own.
bool SubtreeSurvey::SurveyFolder(Pass& pass, int fd, size_t depth, bool claimed)
{
    std::vector<std::string> names;
    bool whole = ReadNames(fd, names) && claimed;
    std::vector<Run> wholeFolders;
    for (const std::string& name : names) {
        size_t mark = pass.path.size();
        if (pass.path.back() != '/')
            pass.path += '/';
        pass.path += name;
        if (!SurveyChild(pass, fd, name.c_str(), depth, wholeFolders))
            whole = false;
        pass.path.resize(mark);
    }
    if (!whole)
        pass.wholeRuns.insert(pass.wholeRuns.end(), wholeFolders.begin(), wholeFolders.end());
    return whole;
}

// One entry of the folder `parentFd`: true when it is claimed, and for a
// folder when everything below it is too (its run then joins `wholeFolders`).
bool SubtreeSurvey::SurveyChild(
    Pass& pass, int parentFd, const char* name, size_t depth, std::vector<Run>& wholeFolders)
{
    struct stat st;
    if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || st.st_dev != pass.device)
        return false; // gone, unreadable, or a mount point
    WalkEntry entry = EntryFor(pass.path, name, st);
    if (!S_ISDIR(st.st_mode)) {
        if (S_ISREG(st.st_mode))
            pass.reader.Read(parentFd, name, -1, pass.path, entry);
        else
            pass.reader.ReadKept(pass.path, entry); // the kernel keeps no user attributes on these
        int64 claim = pass.claim(entry);
        if (claim >= 0)
            pass.claims.push_back(claim);
        return claim >= 0;
    }
    if (depth + 1 > kMaxDepth)
        return false;
    ScopedFd fd(openat(parentFd, name, kFolderFlags));
    struct stat opened;
    if (!fd.IsValid() || fstat(fd.Get(), &opened) != 0 || opened.st_dev != st.st_dev
        || opened.st_ino != st.st_ino)
        return false; // unreadable, or replaced since it was looked at
    pass.reader.Read(parentFd, name, fd.Get(), pass.path, entry);
    int64 claim = pass.claim(entry);
    size_t begin = pass.claims.size();
    if (claim >= 0)
        pass.claims.push_back(claim);
    if (!SurveyFolder(pass, fd.Get(), depth + 1, claim >= 0))
        return false;
    wholeFolders.push_back({begin, pass.claims.size()});
    return true;
}

// Every name in the open folder; false when it cannot be read to its end.
bool SubtreeSurvey::ReadNames(int fd, std::vector<std::string>& names) const
{
    ScopedDir dir = open_dir_from(dup(fd));
    if (!dir)
        return false;
    errno = 0;
    while (struct dirent* item = readdir(dir.get())) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0)
            names.emplace_back(item->d_name);
        errno = 0;
    }
    return errno == 0;
}

const std::unordered_set<uint64>& SubtreeSurvey::StoreInodes(dev_t device)
{
    auto found = fStoreInodes.find(device);
    if (found != fStoreInodes.end())
        return found->second;
    std::vector<uint64> inodes;
    AttributeStore::ListInodes(uint64(device), inodes);
    return fStoreInodes.emplace(device, std::unordered_set<uint64>(inodes.begin(), inodes.end()))
        .first->second;
}
