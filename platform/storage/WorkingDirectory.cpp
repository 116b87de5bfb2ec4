#include "WorkingDirectory.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

status_t set_working_directory(const char* path)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    return chdir(path) == 0 ? B_OK : status_from_errno(errno);
}

std::string working_directory()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}
