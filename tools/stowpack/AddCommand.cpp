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
    if (!ResourceArgs::ParseType(context.args[1], type))
        return UsageError(context.err, "TYPE must be four characters, such as CSTR");
    if (!ResourceArgs::ParseId(context.args[2], id))
        return UsageError(context.err, "ID must be a whole number");
    const std::string& name = context.args[3];
    std::string data, error;
    if (!ReadInputFile(context.args[4], data, error))
        return Failure(context.err, error);
    BResources resources;
    int exitCode = kExitOk;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadWrite, resources, exitCode))
        return exitCode;
    if (resources.ContainerState() == ResourceFormat::State::Damaged)
        return Failure(context.err, path + ": damaged resource container: " + resources.Problem());
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
