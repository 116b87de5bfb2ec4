// One subtree of a volume walk: the open folder at its top until a thread
// reads it, then what the walk found there in walk order, with the
// subtrees it handed on to other threads in their places.
#pragma once

#include "VolumeWalk.h"

#include <memory>
#include <string>
#include <unistd.h>
#include <variant>
#include <vector>

// An entry found, kept until the walk is over and its turn comes.
struct WalkFound {
    std::string path;
    size_t nameOffset = 0;
    WalkEntry entry; // its texts are set from the members above when replayed
    std::string value;
};

struct WalkTask {
    WalkTask(int folderFd, std::string folderPath, off_t folderSize)
        : fd(folderFd)
        , path(std::move(folderPath))
        , size(folderSize)
    { }
    ~WalkTask()
    {
        if (fd >= 0)
            close(fd);
    }
    WalkTask(const WalkTask&) = delete;
    WalkTask& operator=(const WalkTask&) = delete;

    std::string Leaf() const
    {
        size_t slash = path.rfind('/');
        return slash == std::string::npos || path.size() == 1 ? path : path.substr(slash + 1);
    }

    int fd;           // the folder, open until it is read
    std::string path; // its full path
    off_t size;       // the folder node's own size

    using Item = std::variant<WalkFound, std::unique_ptr<WalkTask>>;
    std::vector<Item> items;
};
