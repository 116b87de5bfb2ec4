// Finds, inside one folder, the largest subtrees made of nothing but nodes
// a caller claims, read afresh: links are never followed, another device (a
// mount point) is never entered, and a folder that cannot be read whole
// counts as holding something unclaimed. A subtree it reports can therefore
// be moved as one entry without taking along anything the caller did not
// claim, as the survey found it.
#pragma once

#include "VolumeWalk.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

struct ClaimedSubtree {
    int64 top = -1;             // the claim of the folder at the subtree's top
    std::vector<int64> members; // the claims of every node below it
};

class SubtreeSurvey {
public:
    // `attribute` is read on each node as a volume walk reads it, values up
    // to `maxValueSize` bytes.
    SubtreeSurvey(const std::string& attribute, size_t maxValueSize);

    // A node's claim (0 or more) when the caller owns it, else -1. The
    // entry's texts are valid during the call only.
    using Claim = std::function<int64(const WalkEntry&)>;

    // The largest claimed subtrees at or below the folder `path`: the
    // folder itself when everything in it is claimed, else the largest ones
    // inside it (an inner one in an outer one is never listed on its own).
    std::vector<ClaimedSubtree> Survey(const std::string& path, const Claim& claim);

    // Folders nested deeper than this below the surveyed one are not read:
    // they, and the folders holding them, are not claimed whole.
    static constexpr size_t kMaxDepth = 128;

private:
    struct Pass;
    struct Run {
        size_t begin;
        size_t end;
    };

    bool SurveyFolder(Pass& pass, int fd, size_t depth, bool claimed);
    bool SurveyChild(
        Pass& pass, int parentFd, const char* name, size_t depth, std::vector<Run>& wholeFolders);
    bool ReadNames(int fd, std::vector<std::string>& names) const;
    const std::unordered_set<uint64>& StoreInodes(dev_t device);

    VolumeWalkOptions fOptions;
    // Per device, the inodes with a record in the attribute store.
    std::map<dev_t, std::unordered_set<uint64>> fStoreInodes;
};
