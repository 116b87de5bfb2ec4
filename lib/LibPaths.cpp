#include "LibPaths.h"

#include "BEntry.h"
#include "BMessage.h"
#include "BPath.h"
#include "FindDirectory.h"
#include "LibString.h"
#include "RunningExecutable.h"

#include <cstring>
#include <string>

namespace {

// Copies `text` into `buffer` of `size` bytes, cutting at a character
// boundary when `cut` allows; false (buffer emptied) when it does not fit.
bool CopyOut(const char* text, char* buffer, size_t size, bool cut)
{
    if (buffer == nullptr || size == 0)
        return false;
    size_t length = strlen(text);
    if (length >= size) {
        if (!cut) {
            buffer[0] = '\0';
            return false;
        }
        length = size - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xc0) == 0x80)
            --length;
    }
    memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

} // namespace

bool LibGetEntryRef(const char* path, entry_ref& ref)
{
    BEntry entry(path);
    return entry.InitCheck() == B_OK && entry.GetRef(&ref) == B_OK;
}

bool LibGetFullPath(const entry_ref& ref, LibString& path)
{
    BPath full;
    bool found = LibGetFullPath(ref, full);
    path = found ? full.Path() : "";
    return found;
}

bool LibGetFullPath(const entry_ref& ref, BPath& path)
{
    BEntry entry(&ref);
    if (entry.InitCheck() != B_OK || entry.GetPath(&path) != B_OK) {
        path.Unset();
        return false;
    }
    return true;
}

entry_ref LibGetParentRef(const entry_ref& ref)
{
    BEntry entry(&ref);
    BEntry parent;
    entry_ref parentRef;
    if (entry.InitCheck() == B_OK && entry.GetParent(&parent) == B_OK)
        parent.GetRef(&parentRef);
    return parentRef;
}

bool LibGetPath(const entry_ref& folder, const char* name, BPath& path)
{
    if (!LibGetFullPath(folder, path))
        return false;
    if (name == nullptr || *name == '\0')
        return true;
    return path.Append(name) == B_OK;
}

bool LibGetParentPath(const char* path, LibString& parent)
{
    BPath full(path);
    BPath folder;
    if (full.InitCheck() != B_OK || full.GetParent(&folder) != B_OK) {
        parent = "";
        return false;
    }
    parent = folder.Path();
    return true;
}

bool LibGetChildName(const char* path, char* leaf)
{
    return LibGetChildName(path, leaf, B_FILE_NAME_LENGTH);
}

bool LibGetChildName(const char* path, char* leaf, const int& size)
{
    if (leaf == nullptr || size <= 0)
        return false;
    BPath full(path);
    if (full.InitCheck() != B_OK) {
        leaf[0] = '\0';
        return false;
    }
    // The classic call cut names to its fixed buffer; the sized one refuses.
    return CopyOut(full.Leaf(), leaf, size_t(size), size == B_FILE_NAME_LENGTH);
}

int32 LibGetFilePath(const BMessage* message, BPath& path)
{
    path.Unset();
    if (message == nullptr)
        return 0;
    entry_ref folder;
    if (message->FindRef("directory", &folder) != B_OK || !LibGetFullPath(folder, path))
        return 0;
    const char* text = nullptr;
    if (message->FindString("name", &text) != B_OK)
        return 0;
    LibString name(text);
    name.StripLeadingSpaces();
    name.StripTrailingSpaces();
    if (name.Length() == 0 || name.Contain('/') || strcmp(name, ".") == 0
        || strcmp(name, "..") == 0)
        return 0;
    if (path.Append(name) != B_OK)
        return 0;
    return name.Length();
}

bool LibGetWorkingDirectory(BPath& path)
{
    std::string executable;
    BPath program;
    if (get_running_executable_path(executable) != B_OK || program.SetTo(executable.c_str()) != B_OK
        || program.GetParent(&path) != B_OK) {
        path.Unset();
        return false;
    }
    return true;
}

bool LibGetSettingsPath(LibString& path)
{
    BPath settings;
    if (find_directory(B_USER_SETTINGS_DIRECTORY, &settings) != B_OK) {
        path = "";
        return false;
    }
    path = settings.Path();
    return true;
}

bool LibGetSettingsPath(char* path, const int& size)
{
    LibString settings;
    if (path == nullptr || size <= 0)
        return false;
    if (!LibGetSettingsPath(settings)) {
        path[0] = '\0';
        return false;
    }
    return CopyOut(settings, path, size_t(size), false);
}
