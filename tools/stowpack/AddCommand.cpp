// stowpack add FILE TYPE ID NAME DATAFILE: adds a resource holding a file's
// bytes, or replaces the one of that type and id.
#include "ResourceCommands.h"

namespace {

int RunAdd(CommandContext& context)
{
    if (context.args.size() != 5)
        return UsageError(context.err, "add takes FILE, TYPE, ID, NAME and DATAFILE");
    const std::string& path = context.args[0];
    type_code type;
    int32 id;
    int exitCode = kExitOk;
    if (!ResourceArgs::ParseTypeAndId(
            context, context.args[1], context.args[2], type, id, exitCode))
        return exitCode;
    const std::string& name = context.args[3];
    std::string data, error;
    if (!ReadInputFile(context.args[4], data, error))
        return Failure(context.err, error);
    BResources resources;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadWrite, resources, exitCode))
        return exitCode;
    status_t status = resources.AddResource(type, id, data.data(), data.size(), name.c_str());
    if (status == B_OK)
        status = resources.Sync();
    if (status != B_OK)
        return Failure(context.err, "cannot change " + path + ": " + ResourceArgs::Explain(status));
    return kExitOk;
}

} // namespace

const Command kAddCommand = {
    "add",
    "add or replace one resource with a file's bytes",
    "stowpack add FILE TYPE ID NAME DATAFILE",
    RunAdd,
};
