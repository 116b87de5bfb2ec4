#include "MessageCommand.h"

#include "MessageJson.h"

#include <ostream>

namespace {

int Encode(CommandContext& context)
{
    if (context.args.size() != 3)
        return UsageError(context.err, "message encode takes IN.json and OUT.bin");
    const std::string& in = context.args[1];
    std::string text, error;
    if (!ReadInputFile(in, text, error))
        return Failure(context.err, error);
    BMessage message;
    if (!MessageJson::Read(text, message, error))
        return Failure(context.err, in + ": " + error);
    if (!WriteOutputFile(context.args[2], message.Flatten(), error))
        return Failure(context.err, error);
    return kExitOk;
}

int Decode(CommandContext& context)
{
    if (context.args.size() != 2)
        return UsageError(context.err, "message decode takes IN.bin");
    const std::string& in = context.args[1];
    std::string bytes, error;
    if (!ReadInputFile(in, bytes, error))
        return Failure(context.err, error);
    BMessage message;
    if (message.Unflatten(bytes) != B_OK)
        return Failure(context.err, in + ": not a valid flattened message");
    context.out << MessageJson::Write(message);
    context.out.flush();
    if (!context.out)
        return Failure(context.err, "cannot write standard output");
    return kExitOk;
}

int RunMessage(CommandContext& context)
{
    if (context.args.empty())
        return UsageError(context.err, "message needs encode or decode");
    if (context.args[0] == "encode")
        return Encode(context);
    if (context.args[0] == "decode")
        return Decode(context);
    return UsageError(context.err, "unknown message command '" + context.args[0] + "'");
}

} // namespace

const Command kMessageCommand = {
    "message",
    "convert a flattened message to and from JSON",
    "stowpack message encode IN.json OUT.bin\n"
    "stowpack message decode IN.bin",
    RunMessage,
};
