// stowpack resources FILE: every resource with its type, id, size,
// checksum state and name.
#include "ResourceCommands.h"

#include <iomanip>
#include <ostream>

namespace {

int RunResources(CommandContext& context)
{
    if (context.args.size() != 1)
        return UsageError(context.err, "resources takes FILE");
    const std::string& path = context.args[0];
    BResources resources;
    int exitCode = kExitOk;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadOnly, resources, exitCode))
        return exitCode;
    context.out << std::left << std::setw(8) << "TYPE" << std::right << std::setw(12) << "ID"
                << std::setw(12) << "SIZE"
                << "  CHECKSUM  NAME\n";
    type_code type;
    int32 id;
    const char* name;
    size_t size;
    for (int32 i = 0; resources.GetResourceInfo(i, &type, &id, &name, &size); ++i) {
        const char* state = resources.VerifyResource(type, id) == B_OK ? "ok" : "BAD";
        context.out << std::left << std::setw(8) << ResourceArgs::TypeText(type) << std::right
                    << std::setw(12) << id << std::setw(12) << size << "  " << std::left
                    << std::setw(10) << state << ResourceArgs::Quoted(name) << "\n";
    }
    context.out.flush();
    if (!context.out)
        return Failure(context.err, "cannot write standard output");
    return kExitOk;
}

} // namespace

const Command kResourcesCommand = {
    "resources",
    "list the resources of an installer or any file",
    "stowpack resources FILE",
    RunResources,
};
