#include "oResources.h"

#include "LibBitmap.h"
#include "RunningExecutable.h"

#include <cstring>
#include <string>

oResources::oResources(const unsigned long& openMode)
{
    std::string path;
    if (get_running_executable_path(path) != B_OK)
        return;
    BFile file(path.c_str(), uint32(openMode));
    if (file.InitCheck() != B_OK && (openMode & B_ACCESS_MODE_MASK) != B_READ_ONLY)
        file.SetTo(path.c_str(), B_READ_ONLY);
    if (file.InitCheck() != B_OK || SetTo(&file) != B_OK)
        return;
    fExecutablePath = path.c_str();
}

oResources::~oResources() = default;

LibString oResources::GetString(const char* name)
{
    LibString text;
    if (name == nullptr || InitCheck() != B_OK)
        return text;
    size_t size = 0;
    const void* data = LoadResource(B_STRING_TYPE, name, &size);
    if (data == nullptr)
        return text;
    // The text ends at its terminating zero, or at the resource's end when
    // a writer left the zero out.
    size_t length = strnlen(static_cast<const char*>(data), size);
    std::string copy(static_cast<const char*>(data), length);
    text = copy.c_str();
    return text;
}

bool oResources::HasString(const char* name)
{
    return name != nullptr && InitCheck() == B_OK && HasResource(B_STRING_TYPE, name);
}

BBitmap* oResources::GetBitmap(const char* name)
{
    if (name == nullptr || InitCheck() != B_OK)
        return nullptr;
    size_t size = 0;
    const void* data = LoadResource(kBitmapResourceType, name, &size);
    BMessage archive;
    if (data == nullptr || archive.Unflatten(static_cast<const char*>(data), ssize_t(size)) != B_OK)
        return nullptr;
    auto* bitmap = new LibBitmap(&archive);
    if (!bitmap->IsValid()) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}
