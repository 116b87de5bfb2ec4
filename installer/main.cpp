// Stowfast, the installer: the command line when its options ask for it,
// else the guided flow on a terminal, else the command line, which then says
// that it needs --unattended. `Stowfast --help` lists the options.
#include "FrontEndChoice.h"
#include "InstallCommand.h"
#include "InstallFlow.h"
#include "ProgramName.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The installer's windows plug in here: built in, they are chosen wherever
// a display is.
constexpr WindowSupport kWindows = WindowSupport::None;

int Usage(const std::string& problem)
{
    fprintf(stderr, "Stowfast: %s\nTry '%s --help'.\n", problem.c_str(),
        program_name("Stowfast").c_str());
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    InstallOptions options;
    std::string problem;
    if (!InstallCommandLine::Parse(args, options, problem))
        return Usage(problem);
    bool commandLine = options.unattended || options.task != InstallOptions::Task::Install;
    switch (choose_front_end(front_end_facts(commandLine, kWindows))) {
    case FrontEnd::TerminalFlow:
        if (!InstallFlow::Accepts(options, problem))
            return Usage(problem);
        return InstallFlow(options).Run();
    case FrontEnd::Window: // never chosen while kWindows is None
    case FrontEnd::CommandLine:
        break;
    }
    InstallCommand command(options);
    return command.Run();
}
