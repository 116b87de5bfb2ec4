#include "SharedLibraries.h"

#include "StowRoot.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

constexpr char kCacheMagic[] = "glibc-ld.so.cache1.1";
constexpr size_t kMagicSize = sizeof(kCacheMagic) - 1;
constexpr size_t kHeaderSize = 48;
constexpr size_t kEntrySize = 24;

uint32_t Read32(const std::string& bytes, size_t offset)
{
    uint32_t value;
    memcpy(&value, bytes.data() + offset, sizeof(value));
    return value; // the cache is written in the machine's own byte order
}

// The NUL-terminated text at `offset`, or false when it leaves the file.
bool TextAt(const std::string& bytes, uint32_t offset, std::string& text)
{
    if (offset >= bytes.size())
        return false;
    size_t end = bytes.find('\0', offset);
    if (end == std::string::npos)
        return false;
    text.assign(bytes, offset, end - offset);
    return true;
}

bool IsFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool InFolders(const char* variable, const char* name, std::string* path)
{
    const char* value = getenv(variable);
    if (value == nullptr)
        return false;
    std::istringstream folders(value);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        // An empty field would mean the working folder; it is not searched.
        if (folder.empty() || folder[0] != '/')
            continue;
        std::string candidate = stow_rooted(folder + "/" + name);
        if (IsFile(candidate)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

bool InCache(const char* name, std::string* path)
{
    std::ifstream file(stow_rooted("/etc/ld.so.cache"), std::ios::binary);
    if (!file)
        return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::vector<std::string> paths;
    if (!ld_cache_paths(bytes.str(), name, paths))
        return false;
    // The cache may be older than the disk: the file must still be there.
    for (const std::string& found : paths) {
        std::string candidate = stow_rooted(found);
        if (IsFile(candidate)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

constexpr const char* kDefaultFolders[] = {
#if defined(__x86_64__)
    "/lib/x86_64-linux-gnu",
    "/usr/lib/x86_64-linux-gnu",
#elif defined(__aarch64__)
    "/lib/aarch64-linux-gnu",
    "/usr/lib/aarch64-linux-gnu",
#elif defined(__i386__)
    "/lib/i386-linux-gnu",
    "/usr/lib/i386-linux-gnu",
#endif
    "/lib",
    "/usr/lib",
    "/lib64",
    "/usr/lib64",
};

} // namespace

bool ld_cache_paths(const std::string& cache, const char* name, std::vector<std::string>& paths)
{
    paths.clear();
    if (cache.size() < kHeaderSize || cache.compare(0, kMagicSize, kCacheMagic) != 0)
        return false;
    uint32_t count = Read32(cache, 20);
    if (count > (cache.size() - kHeaderSize) / kEntrySize)
        return false;
    for (uint32_t i = 0; i < count; i++) {
        size_t entry = kHeaderSize + size_t(i) * kEntrySize;
        std::string key;
        std::string value;
        if (!TextAt(cache, Read32(cache, entry + 4), key)
            || !TextAt(cache, Read32(cache, entry + 8), value))
            return false;
        if (name != nullptr && key == name)
            paths.push_back(value);
    }
    return true;
}

bool find_shared_library(const char* name, std::string* path)
{
    std::string found;
    if (name == nullptr || *name == '\0' || strchr(name, '/') != nullptr)
        return false;
    if (!InFolders("LIBRARY_PATH", name, &found) && !InFolders("LD_LIBRARY_PATH", name, &found)
        && !InCache(name, &found)) {
        bool inDefault = false;
        for (const char* folder : kDefaultFolders) {
            std::string candidate = stow_rooted(std::string(folder) + "/" + name);
            if (IsFile(candidate)) {
                found = candidate;
                inDefault = true;
                break;
            }
        }
        if (!inDefault)
            return false;
    }
    if (path != nullptr)
        *path = found;
    return true;
}
