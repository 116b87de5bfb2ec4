#include "ItemSafety.h"

#include "ZipNames.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Link {
    std::string path; // on disk
    std::string target;
};

bool ReadTarget(const std::string& path, std::string& target)
{
    std::string buffer(ZipNames::kMaxLinkTarget + 1, '\0');
    ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0)
        return false;
    target.assign(buffer, 0, size_t(length));
    return true;
}

} // namespace

std::vector<std::string> ItemSafety::Check(const std::string& path, const std::string& leaf)
{
    std::vector<std::string> problems;
    std::error_code code;
    // A link given as the item is followed, as the archive follows it.
    if (!fs::is_directory(path, code))
        return problems;
    std::map<std::string, std::string> targets; // archive name to target
    std::map<std::string, Link> links;
    for (fs::recursive_directory_iterator it(path, code), end; !code && it != end;
         it.increment(code)) {
        const std::string disk = it->path().string();
        const std::string name = leaf + "/" + it->path().lexically_relative(path).string();
        std::string normalized, why;
        bool slash = false;
        if (!ZipNames::Normalize(name, normalized, slash, why)) {
            problems.push_back(disk + ": " + why);
            continue;
        }
        struct stat info;
        if (lstat(disk.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            continue;
        std::string target;
        if (!ReadTarget(disk, target)) {
            problems.push_back("cannot read the link " + disk + ": " + strerror(errno));
            continue;
        }
        targets[normalized] = target;
        links[normalized] = {disk, target};
    }
    if (code)
        problems.push_back("cannot read the folder " + path + ": " + code.message());
    for (const auto& [name, link] : links) {
        std::string why;
        if (!ZipNames::LinkStaysInside(name, link.target, targets, why))
            problems.push_back(link.path + " -> " + link.target + ": " + why);
    }
    return problems;
}
