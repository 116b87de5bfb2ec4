// Stowfast, the installer. Until its windows exist it installs from the
// command line (InstallCommand.h); `Stowfast --help` lists the options.
#include "InstallCommand.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    InstallOptions options;
    std::string problem;
    if (!InstallCommandLine::Parse(args, options, problem)) {
        fprintf(stderr, "Stowfast: %s\nTry 'Stowfast --help'.\n", problem.c_str());
        return kExitUsage;
    }
    InstallCommand command(options);
    return command.Run();
}
