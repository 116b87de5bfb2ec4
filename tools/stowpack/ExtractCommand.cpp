// stowpack extract FILE TYPE ID OUT: a resource's bytes, streamed from their
// place in the file and checked against the checksum on the way. OUT appears
// only when every byte arrived intact ("-" writes to standard output).
#include "ResourceCommands.h"

#include "ResourceFormat.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

constexpr size_t kPiece = 256 * 1024;

// Copies the resource's byte range to `out`, checking the CRC-32.
int Stream(CommandContext& context, BResources& resources, type_code type, int32 id, int out)
{
    off_t offset;
    size_t size;
    uint32 expected;
    resources.GetResourceRange(type, id, &offset, &size);
    resources.GetResourceChecksum(type, id, &expected);
    const BFile& file = resources.File();
    std::string buffer(kPiece, '\0');
    uint32 crc = 0;
    for (size_t done = 0; done < size;) {
        size_t piece = std::min(kPiece, size - done);
        if (file.ReadAt(offset + off_t(done), buffer.data(), piece) != ssize_t(piece))
            return Failure(context.err, "cannot read " + std::string(file.Path()));
        crc = ResourceFormat::Checksum(buffer.data(), piece, crc);
        if (write_all(out, buffer.data(), piece) != B_OK)
            return Failure(context.err, std::string("cannot write: ") + strerror(errno));
        done += piece;
    }
    if (crc != expected)
        return Failure(context.err,
            std::string(file.Path()) + ": resource " + ResourceArgs::TypeText(type) + " "
                + std::to_string(id) + ": checksum does not match");
    return kExitOk;
}

int RunExtract(CommandContext& context)
{
    if (context.args.size() != 4)
        return UsageError(context.err, "extract takes FILE, TYPE, ID and OUT");
    const std::string& outPath = context.args[3];
    type_code type;
    int32 id;
    int exitCode = kExitOk;
    BResources resources;
    if (!ResourceArgs::OpenExisting(
            context, ResourceArgs::Access::ReadOnly, resources, type, id, exitCode))
        return exitCode;
    if (outPath == "-") {
        std::cout.flush();
        return Stream(context, resources, type, id, STDOUT_FILENO);
    }
    std::string temporary = outPath + ".stowpack-" + std::to_string(getpid());
    int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0)
        return Failure(context.err, "cannot write " + outPath + ": " + strerror(errno));
    exitCode = Stream(context, resources, type, id, out);
    if (close(out) != 0 && exitCode == kExitOk)
        exitCode = Failure(context.err, "cannot write " + outPath + ": " + strerror(errno));
    if (exitCode == kExitOk && rename(temporary.c_str(), outPath.c_str()) != 0)
        exitCode = Failure(context.err, "cannot write " + outPath + ": " + strerror(errno));
    if (exitCode != kExitOk)
        unlink(temporary.c_str());
    return exitCode;
}

} // namespace

const Command kExtractCommand = {
    "extract",
    "write one resource's bytes to a file",
    "stowpack extract FILE TYPE ID OUT",
    RunExtract,
};
