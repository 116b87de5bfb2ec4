#include "BRoster.h"

#include "BEntry.h"
#include "BFile.h"
#include "BPath.h"
#include "BResources.h"
#include "FindDirectory.h"
#include "ResourceFormat.h"
#include "StowRoot.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace {

const BRoster sRoster {};

// Bounds the work of one search however full the folders are.
constexpr int32 kMaxEntriesLooked = 50000;

struct Search {
    const char* signature;
    std::set<std::string> folders; // already searched, by canonical path
    int32 looked = 0;
    std::string found;
};

std::string FolderOf(directory_which which)
{
    BPath path;
    if (find_directory(which, &path) != B_OK)
        return {};
    return path.Path();
}

// Only a file that ends in a resource trailer is opened past its end.
bool CarriesSignature(const char* path, const struct stat& info, const char* signature)
{
    if (!S_ISREG(info.st_mode) || (info.st_mode & 0111) == 0
        || info.st_size < off_t(ResourceFormat::kTrailerSize))
        return false;
    BFile file(path, B_READ_ONLY);
    char magic[8];
    if (file.InitCheck() != B_OK || file.ReadAt(info.st_size - 8, magic, 8) != 8
        || memcmp(magic, ResourceFormat::kTrailerMagic, 8) != 0)
        return false;
    return BRoster::SignatureOf(path) == signature;
}

void SearchIn(Search& search, const std::string& folder, int32 depth)
{
    if (depth <= 0 || !search.found.empty() || search.looked >= kMaxEntriesLooked)
        return;
    char* real = realpath(folder.c_str(), nullptr);
    if (real == nullptr)
        return;
    bool fresh = search.folders.insert(real).second;
    free(real);
    if (!fresh)
        return;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> subfolders;
    while (dirent* entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0)
            continue;
        if (++search.looked > kMaxEntriesLooked)
            break;
        std::string path = folder + "/" + entry->d_name;
        struct stat info;
        if (lstat(path.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            subfolders.push_back(path); // links to folders are not followed
            continue;
        }
        if (S_ISLNK(info.st_mode) && stat(path.c_str(), &info) != 0)
            continue;
        if (CarriesSignature(path.c_str(), info, search.signature)) {
            search.found = path;
            break;
        }
    }
    closedir(dir);
    for (const std::string& subfolder : subfolders)
        SearchIn(search, subfolder, depth - 1);
}

} // namespace

const BRoster* be_roster = &sRoster;

std::vector<BRoster::SearchFolder> BRoster::SearchFolders()
{
    std::vector<SearchFolder> folders;
    // Application folders hold a folder per product, with its programs at
    // its top or in a bin folder.
    for (directory_which which : {B_APPS_DIRECTORY, B_UTILITIES_DIRECTORY})
        folders.push_back({FolderOf(which), 3});
    std::string home = FolderOf(B_USER_DIRECTORY);
    if (!home.empty())
        folders.push_back({home + "/.local/bin", 1});
    for (directory_which which : {B_COMMON_BIN_DIRECTORY, B_BEOS_APPS_DIRECTORY})
        folders.push_back({FolderOf(which), 1});
    if (const char* path = getenv("PATH")) {
        std::istringstream fields(path);
        std::string field;
        while (std::getline(fields, field, ':')) {
            if (!field.empty() && field[0] == '/')
                folders.push_back({stow_rooted(field), 1});
        }
    }
    return folders;
}

std::string BRoster::SignatureOf(const char* path)
{
    BFile file(path, B_READ_ONLY);
    if (file.InitCheck() != B_OK)
        return {};
    BResources resources(&file);
    size_t size = 0;
    const void* data = resources.LoadResource(B_MIME_TYPE, "BEOS:APP_SIG", &size);
    if (data == nullptr || size == 0)
        return {};
    const char* text = static_cast<const char*>(data);
    return std::string(text, strnlen(text, size));
}

status_t BRoster::FindApp(const char* signature, entry_ref* app) const
{
    if (signature == nullptr || *signature == '\0')
        return B_BAD_VALUE;
    Search search;
    search.signature = signature;
    for (const SearchFolder& folder : SearchFolders()) {
        if (!folder.path.empty())
            SearchIn(search, folder.path, folder.depth);
        if (!search.found.empty())
            break;
    }
    if (search.found.empty())
        return B_ENTRY_NOT_FOUND;
    if (app == nullptr)
        return B_OK;
    return BEntry(search.found.c_str()).GetRef(app);
}
