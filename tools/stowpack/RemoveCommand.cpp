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
    if (!ResourceArgs::ParseTypeAndId(
            context, context.args[1], context.args[2], type, id, exitCode))
        return exitCode;
    BResources resources;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadWrite, resources, exitCode))
        return exitCode;
    if (!resources.HasResource(type, id))
        return Failure(context.err,
            path + ": no resource " + ResourceArgs::TypeText(type) + " " + std::to_string(id));
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
