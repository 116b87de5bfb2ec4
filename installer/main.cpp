// Stowfast, the installer: the command line when its options ask for it,
// else its window where a display is, else the guided flow on a terminal,
// else the command line, which then says that it needs --unattended.
// `Stowfast --help` lists the options.
#include "FrontEndChoice.h"
#include "InstallApp.h"
#include "InstallCommand.h"
#include "InstallFlow.h"
#include "ProgramName.h"
#include "UiDisplay.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr WindowSupport kWindows = WindowSupport::Built;

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
    FrontEndFacts facts = front_end_facts(commandLine, kWindows);
    FrontEnd frontEnd = choose_front_end(facts);
    if (frontEnd == FrontEnd::Window) {
        // The window asks what these options would answer.
        if (!InstallFlow::Accepts(options, problem))
            return Usage(problem);
        if (UiDisplay::Connect())
            return InstallApp::Main(options);
        // A display named but not to be had: as without one.
        fprintf(stderr, "Stowfast: no window can be shown (%s)\n", UiDisplay::Problem().c_str());
        facts.display = false;
        frontEnd = choose_front_end(facts);
    }
    if (frontEnd == FrontEnd::TerminalFlow) {
        if (!InstallFlow::Accepts(options, problem))
            return Usage(problem);
        return InstallFlow(options).Run();
    }
    InstallCommand command(options);
    return command.Run();
}
