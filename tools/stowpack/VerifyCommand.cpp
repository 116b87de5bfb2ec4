// stowpack verify FILE: succeeds only when the file has a sound container and
// every resource matches its checksum. A file without one fails: an installer
// whose container went (stripped, say) has lost its payload.
#include "ResourceCommands.h"

#include <ostream>

namespace {

int RunVerify(CommandContext& context)
{
    if (context.args.size() != 1)
        return UsageError(context.err, "verify takes FILE");
    const std::string& path = context.args[0];
    BResources resources;
    int exitCode = kExitOk;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadOnly, resources, exitCode))
        return exitCode;
    if (resources.ContainerState() == ResourceFormat::State::None)
        return Failure(context.err,
            path
                + ": no resources (an installer that was stripped after it was built has lost "
                  "them)");
    int32 bad = 0;
    type_code type;
    int32 id;
    const char* name;
    size_t size;
    for (int32 i = 0; resources.GetResourceInfo(i, &type, &id, &name, &size); ++i) {
        status_t status = resources.VerifyResource(type, id);
        if (status == B_OK)
            continue;
        ++bad;
        context.err << "stowpack: " << path << ": resource " << ResourceArgs::TypeText(type) << " "
                    << id << " " << ResourceArgs::Quoted(name)
                    << (status == B_BAD_DATA ? ": checksum does not match\n"
                                             : ": cannot be read\n");
    }
    if (bad > 0)
        return Failure(context.err, path + ": " + std::to_string(bad) + " damaged resource(s)");
    context.out << path << ": " << resources.CountResources()
                << " resource(s), all checksums match\n";
    return kExitOk;
}

} // namespace

const Command kVerifyCommand = {
    "verify",
    "check every resource of a file against its checksum",
    "stowpack verify FILE",
    RunVerify,
};
