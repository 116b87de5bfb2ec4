// stowpack dump INSTALLER: the configuration record of an installer (or of
// a placed deinstaller) in the canonical JSON form of docs/message-json.md.
#include "BuildCommands.h"
#include "InstallerWriter.h"
#include "MessageJson.h"
#include "ResourceCommands.h"

#include <ostream>

namespace {

int RunDump(CommandContext& context)
{
    if (context.args.size() != 1)
        return UsageError(context.err, "dump takes INSTALLER");
    const std::string& path = context.args[0];
    BResources resources;
    int exitCode = kExitOk;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadOnly, resources, exitCode))
        return exitCode;
    const int32 id = InstallerWriter::kRecordId;
    if (!resources.HasResource(B_STRING_TYPE, id))
        return Failure(context.err, path + ": no configuration record ('CSTR' 2002)");
    if (resources.VerifyResource(B_STRING_TYPE, id) != B_OK)
        return Failure(context.err,
            path + ": the configuration record is damaged (its checksum does not match)");
    size_t size = 0;
    const void* bytes = resources.LoadResource(B_STRING_TYPE, id, &size);
    BMessage record;
    if (bytes == nullptr || record.Unflatten(static_cast<const char*>(bytes), size) != B_OK)
        return Failure(context.err, path + ": the configuration record is not a valid message");
    context.out << MessageJson::Write(record);
    context.out.flush();
    if (!context.out)
        return Failure(context.err, "cannot write standard output");
    return kExitOk;
}

} // namespace

const Command kDumpCommand = {
    "dump",
    "print an installer's configuration record as JSON",
    "stowpack dump INSTALLER",
    RunDump,
};
