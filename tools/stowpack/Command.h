// One stowpack command and what every command shares: exit codes, usage
// errors and whole-file input and output.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1, // the command ran and failed (bad input, unreadable file)
    kExitUsage = 2,   // the command line itself was wrong
};

struct CommandContext {
    std::vector<std::string> args; // the words after the command's name
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* summary; // one line for the command list of --help
    const char* usage;   // the synopsis lines, each starting with "stowpack "
    int (*run)(CommandContext& context);
};

// Prints "stowpack: MESSAGE" and a hint to --help; answers kExitUsage.
int UsageError(std::ostream& err, const std::string& message);

// Prints "stowpack: MESSAGE"; answers kExitFailure.
int Failure(std::ostream& err, const std::string& message);

// Reads a whole file ("-" is standard input). On failure `error` says why.
bool ReadInputFile(const std::string& path, std::string& contents, std::string& error);

// Writes a whole file beside its final place and renames it there, so that a
// failed write never leaves a half-written file ("-" is standard output).
bool WriteOutputFile(const std::string& path, const std::string& contents, std::string& error);
