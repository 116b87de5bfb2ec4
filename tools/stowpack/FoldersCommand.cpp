// stowpack folders: whose folders they are (the scope), then every standard
// folder with its directory_which value and the path it resolves to now
// (inside STOW_ROOT when that is set).
#include "FoldersCommand.h"

#include "BPath.h"
#include "FindDirectory.h"

#include <ostream>

namespace {

int RunFolders(CommandContext& context)
{
    if (!context.args.empty())
        return UsageError(context.err, "folders takes no arguments");
    context.out << (folder_scope() == FolderScope::System
            ? "# scope: system (run as root: the system folders)\n"
            : "# scope: user (system folders this user cannot write are the user's own)\n");
    // One line per folder: value, name and path, separated by tabs.
    for (const StandardFolder& folder : standard_folders()) {
        BPath path;
        status_t status = find_directory(folder.which, &path);
        if (status != B_OK)
            return Failure(context.err, std::string("cannot resolve the folder ") + folder.name);
        context.out << folder.which << '\t' << folder.name << '\t' << path.Path() << '\n';
    }
    return kExitOk;
}

} // namespace

const Command kFoldersCommand = {
    "folders",
    "list the standard folders and where they are now",
    "stowpack folders",
    RunFolders,
};
