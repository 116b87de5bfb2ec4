#include "LibFileOperations.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BPath.h"
#include "FileOperations.h"
#include "FileTypes.h"
#include "TarWriter.h"
#include "WorkingDirectory.h"

namespace {

bool Given(const char* path)
{
    return path != nullptr && *path != '\0';
}

} // namespace

bool LibExists(const char* path)
{
    if (!Given(path))
        return false;
    BEntry entry(path, true);
    return entry.InitCheck() == B_OK && entry.Exists();
}

bool Libmkdir(const char* path)
{
    if (!Given(path) || LibExists(path))
        return false;
    return create_directory(path, 0775) == B_OK;
}

int LibChangeDirectory(const char* path)
{
    if (!LibExists(path))
        return 0;
    return set_working_directory(path);
}

bool LibCopy(const char* source, const char* destination)
{
    if (!Given(source) || !Given(destination))
        return false;
    return copy_entry(source, destination, TargetMode::IntoFolder) == B_OK;
}

bool LibMove(const char* source, const char* destination)
{
    if (!Given(source) || !Given(destination))
        return false;
    return move_entry(source, destination, TargetMode::IntoFolder) == B_OK;
}

bool LibUnlink(const char* path)
{
    return Given(path) && remove_entry(path) == B_OK;
}

bool Libmimeset(const char* path)
{
    return Given(path) && set_mime_types(path) == B_OK;
}

bool LibSymLink(const char* target, const char* link)
{
    return Given(target) && Given(link) && make_symlink(target, link) == B_OK;
}

bool LibTar(const char* input, const char* archive)
{
    if (!Given(input) || !Given(archive))
        return false;
    BPath archivePath(archive);
    BPath folder;
    if (archivePath.InitCheck() != B_OK || archivePath.GetParent(&folder) != B_OK)
        return false;
    return write_tar_archive(archivePath.Path(), folder.Path(), input) == B_OK;
}
