#include "BPath.h"

#include "BDirectory.h"
#include "BEntry.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

std::string WorkingFolder()
{
    std::vector<char> buffer(PATH_MAX);
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return "/";
    return buffer.data();
}

// Splits "/a/b" into "/a" and "b".
std::string ParentOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

std::string BPath::Clean(const std::string& input)
{
    if (input.empty())
        return {};
    std::string path = input[0] == '/' ? input : WorkingFolder() + "/" + input;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result;
    for (const auto& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

BPath::BPath(const entry_ref* ref)
{
    SetTo(ref);
}

BPath::BPath(const BEntry* entry)
{
    SetTo(entry);
}

BPath::BPath(const char* dir, const char* leaf, bool normalize)
{
    SetTo(dir, leaf, normalize);
}

BPath::BPath(const BDirectory* dir, const char* leaf, bool normalize)
{
    SetTo(dir, leaf, normalize);
}

status_t BPath::SetTo(const entry_ref* ref)
{
    Unset();
    if (ref == nullptr || !ref->IsSet() || ref->directoryPath.empty())
        return fStatus = B_BAD_VALUE;
    return SetTo(ref->directoryPath.c_str(), ref->name.c_str());
}

status_t BPath::SetTo(const BEntry* entry)
{
    Unset();
    if (entry == nullptr)
        return fStatus = B_BAD_VALUE;
    return fStatus = entry->GetPath(this);
}

status_t BPath::SetTo(const char* path, const char* leaf, bool normalize)
{
    Unset();
    if (path == nullptr || *path == '\0')
        return fStatus = B_BAD_VALUE;
    if (leaf != nullptr && *leaf == '/')
        return fStatus = B_BAD_VALUE;
    std::string joined = path;
    if (leaf != nullptr && *leaf != '\0')
        joined += "/" + std::string(leaf);
    fPath = Clean(joined);
    if (fPath.size() >= PATH_MAX) {
        fPath.clear();
        return fStatus = B_NAME_TOO_LONG;
    }
    fStatus = B_OK;
    if (normalize && fPath != "/") {
        char resolved[PATH_MAX];
        std::string parent = ParentOf(fPath);
        if (realpath(parent.c_str(), resolved) != nullptr)
            fPath = Clean(std::string(resolved) + "/" + Leaf());
    }
    return fStatus;
}

status_t BPath::SetTo(const BDirectory* dir, const char* leaf, bool normalize)
{
    Unset();
    if (dir == nullptr || dir->InitCheck() != B_OK)
        return fStatus = B_BAD_VALUE;
    return SetTo(dir->Path(), leaf, normalize);
}

void BPath::Unset()
{
    fPath.clear();
    fStatus = B_NO_INIT;
}

status_t BPath::Append(const char* path, bool normalize)
{
    if (fStatus != B_OK)
        return B_NO_INIT;
    if (path == nullptr || *path == '/')
        return B_BAD_VALUE;
    std::string base = fPath;
    return SetTo(base.c_str(), path, normalize);
}

const char* BPath::Leaf() const
{
    if (fStatus != B_OK)
        return nullptr;
    return fPath.c_str() + fPath.rfind('/') + 1;
}

status_t BPath::GetParent(BPath* path) const
{
    if (path == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    if (fPath == "/")
        return B_ENTRY_NOT_FOUND;
    std::string parent = ParentOf(fPath);
    return path->SetTo(parent.c_str());
}

bool BPath::operator==(const BPath& other) const
{
    return fStatus == other.fStatus && fPath == other.fPath;
}

bool BPath::operator==(const char* path) const
{
    if (fStatus != B_OK || path == nullptr)
        return fStatus != B_OK && path == nullptr;
    return fPath == path;
}

BPath& BPath::operator=(const char* path)
{
    if (path == nullptr)
        Unset();
    else
        SetTo(path);
    return *this;
}
