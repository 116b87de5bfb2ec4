#include "StagingFolder.h"

#include "FileOperations.h"

#include <cerrno>
#include <sys/stat.h>

StagingFolder::~StagingFolder()
{
    Remove();
}

status_t StagingFolder::CreateBeside(const char* finalPath)
{
    Remove();
    if (finalPath == nullptr || *finalPath == '\0')
        return B_BAD_VALUE;
    return create_beside(
        finalPath,
        [](const std::string& candidate) {
            return mkdir(candidate.c_str(), 0700) == 0 ? 0 : errno;
        },
        &fPath);
}

void StagingFolder::Remove()
{
    if (fPath.empty())
        return;
    remove_entry(fPath.c_str());
    fPath.clear();
}
