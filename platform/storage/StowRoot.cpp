#include "StowRoot.h"

#include "BPath.h"

#include <cstdlib>

std::string stow_root()
{
    const char* value = getenv("STOW_ROOT");
    if (value == nullptr || *value == '\0')
        return {};
    std::string root = BPath::Clean(value);
    return root == "/" ? std::string() : root;
}

std::string stow_rooted(const std::string& path)
{
    std::string root = stow_root();
    std::string clean = BPath::Clean(path);
    if (root.empty())
        return clean;
    // A home folder already set inside the trial root (HOME=$STOW_ROOT/home)
    // is where the user meant it; prefixing it again would put it nowhere.
    if (clean == root || clean.compare(0, root.size() + 1, root + "/") == 0)
        return clean;
    return clean == "/" ? root : root + clean;
}
