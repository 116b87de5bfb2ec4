// stowpack remove FILE TYPE ID: drops one resource.
#include "ResourceCommands.h"

namespace {

int RunRemove(CommandContext& context)
{
    if (context.args.size() != 3)
        return UsageError(context.err, "remove takes FILE, TYPE and ID");
    const std::string& path = context.args[0];
    type_code type;
    int32 id;
    int exitCode = kExitOk;
    BResources resources;
    if (!ResourceArgs::OpenExisting(
            context, ResourceArgs::Access::ReadWrite, resources, type, id, exitCode))
        return exitCode;
    status_t status = resources.RemoveResource(type, id);
    if (status == B_OK)
        status = resources.Sync();
    if (status != B_OK)
        return Failure(context.err, "cannot change " + path + ": " + ResourceArgs::Explain(status));
    return kExitOk;
}

} // namespace

const Command kRemoveCommand = {
    "remove",
    "remove one resource from a file",
    "stowpack remove FILE TYPE ID",
    RunRemove,
};
