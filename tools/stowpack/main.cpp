// stowpack: the command-line builder and inspector of installers.
#include "BuildCommands.h"
#include "Command.h"
#include "FoldersCommand.h"
#include "MessageCommand.h"
#include "ResourceCommands.h"

#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#ifndef STOW_VERSION
#define STOW_VERSION "0"
#endif

namespace {

// Every command of stowpack, in the order --help lists them. A new command
// is a source file of its own and one line here.
const Command* const kCommands[] = {
    &kBuildCommand,
    &kDumpCommand,
    &kMessageCommand,
    &kResourcesCommand,
    &kExtractCommand,
    &kAddCommand,
    &kRemoveCommand,
    &kVerifyCommand,
    &kFoldersCommand,
};

// Each line of `text` after `prefix`.
void PrintLines(std::ostream& out, const std::string& prefix, const std::string& text)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        out << prefix << text.substr(start, end - start) << "\n";
        start = end + 1;
    }
}

void PrintHelp(std::ostream& out)
{
    out << "Usage: stowpack COMMAND [ARGUMENTS...]\n"
           "       stowpack COMMAND --help\n"
           "       stowpack --help | --version\n\n"
           "Builds and inspects Stowfast installers.\n\nCommands:\n";
    for (const Command* command : kCommands)
        out << "  " << std::left << std::setw(12) << command->name << command->summary << "\n";
    out << "\nUsage of each command:\n";
    for (const Command* command : kCommands)
        PrintLines(out, "  ", command->usage);
    out << "\n'-' as a file name means standard input or output.\n"
           "Exit status: 0 success, 1 failure, 2 wrong usage.\n";
}

const Command* FindCommand(const std::string& name)
{
    for (const Command* command : kCommands) {
        if (name == command->name)
            return command;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return UsageError(std::cerr, "no command given");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (first == "--version") {
        std::cout << "stowpack " STOW_VERSION "\n";
        return kExitOk;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        if (first.size() > 1 && first[0] == '-')
            return UsageError(std::cerr, "unknown option '" + first + "'");
        return UsageError(std::cerr, "unknown command '" + first + "'");
    }
    args.erase(args.begin());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        PrintLines(std::cout, "Usage: ", command->usage);
        return kExitOk;
    }
    CommandContext context {args, std::cout, std::cerr};
    return command->run(context);
}
