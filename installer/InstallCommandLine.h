// The installer's command line: its options, their reading, the help text
// and the exit codes. Reading checks only the form; what the options name
// (groups, files, the license) is checked against the record later.
#pragma once

#include "ExitCodes.h"

#include <string>
#include <vector>

struct InstallOptions {
    enum class Task { Install, List, Check, Help, Version };
    enum class Collision { Keep, Replace };

    Task task = Task::Install;
    bool unattended = false;
    std::string destination; // empty: the record's default folder
    std::vector<std::string> groups;
    std::vector<std::string> files;
    bool all = false;
    bool acceptLicense = false;
    std::string language; // empty: as the executable records it
    Collision collision = Collision::Keep;
    bool launch = false;
    bool restart = false;
    std::string saveRecord; // where to write the record after the run
};

class InstallCommandLine {
public:
    // False, with `problem` saying why, when the words are no valid command
    // line. "--name value" and "--name=value" are both taken.
    static bool Parse(
        const std::vector<std::string>& args, InstallOptions& options, std::string& problem);
    // The help, naming the program as it was started.
    static std::string HelpText();
};
