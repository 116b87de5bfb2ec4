#include "LibShutdown.h"

#include "BPath.h"
#include "FindDirectory.h"
#include "LibFileOperations.h"
#include "ProgramLauncher.h"
#include "StowRoot.h"

#include <string>
#include <vector>

namespace {

const char* const kSystemPlaces[] = {"/usr/sbin/shutdown", "/sbin/shutdown"};

std::string FindShutdownCommand()
{
    BPath folder;
    if (find_directory(B_BEOS_BIN_DIRECTORY, &folder) == B_OK) {
        BPath command(folder.Path(), "shutdown");
        if (command.InitCheck() == B_OK && LibExists(command.Path()))
            return command.Path();
    }
    if (!stow_root().empty())
        return {};
    for (const char* place : kSystemPlaces) {
        if (LibExists(place))
            return place;
    }
    return {};
}

} // namespace

bool LibShutdown(bool restart)
{
    std::string command = FindShutdownCommand();
    if (command.empty())
        return false;
    std::vector<std::string> argv {command, restart ? "-r" : "-h", "now"};
    return launch_program(argv, 0) == B_OK;
}
