// stowpack dump [--full] INSTALLER: the configuration record of an installer
// (or of a placed deinstaller) in the canonical JSON form of
// docs/message-json.md. Pictures, icons and sounds show their size in bytes;
// --full writes their bytes too, the form `stowpack message encode` reads.
#include "BMessage.h"
#include "BResources.h"
#include "BuildCommands.h"
#include "MessageJson.h"
#include "RecordReader.h"
#include "ResourceCommands.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace {

int RunDump(CommandContext& context)
{
    std::vector<std::string> args = context.args;
    const auto full = std::find(args.begin(), args.end(), "--full");
    const bool whole = full != args.end();
    if (whole)
        args.erase(full);
    if (args.size() != 1)
        return UsageError(context.err, "dump takes [--full] INSTALLER");
    const std::string& path = args[0];
    BResources resources;
    int exitCode = kExitOk;
    if (!ResourceArgs::Open(context, path, ResourceArgs::Access::ReadOnly, resources, exitCode))
        return exitCode;
    BMessage record;
    switch (RecordReader::Read(resources, record)) {
    case RecordReader::Result::Read:
        break;
    case RecordReader::Result::Missing:
        return Failure(context.err, path + ": no configuration record ('CSTR' 2002)");
    case RecordReader::Result::Damaged:
        return Failure(context.err,
            path + ": the configuration record is damaged (its checksum does not match)");
    case RecordReader::Result::NotMessage:
        return Failure(context.err, path + ": the configuration record is not a valid message");
    }
    context.out << MessageJson::Write(
        record, whole ? MessageJson::RawData::Whole : MessageJson::RawData::Counted);
    context.out.flush();
    if (!context.out)
        return Failure(context.err, "cannot write standard output");
    return kExitOk;
}

} // namespace

const Command kDumpCommand = {
    "dump",
    "print an installer's configuration record as JSON",
    "stowpack dump [--full] INSTALLER",
    RunDump,
};
