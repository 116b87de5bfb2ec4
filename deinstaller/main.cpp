// Stowclear, the deinstaller that an installation places beside the product:
// the command line when its options ask for it, else its windows where a
// display is, else the guided flow on a terminal, else the command line,
// which then says that it needs --unattended.
#include "DeinstallApp.h"
#include "FrontEndChoice.h"
#include "StowclearCommand.h"
#include "StowclearFlow.h"
#include "StowclearOptions.h"
#include "StowclearStart.h"
#include "UiDisplay.h"

#include <cstdio>
#include <string>

namespace {

int RunWindows(const StowclearOptions& options)
{
    apply_stowclear_start(options);
    auto* application = new DeinstallApp(options);
    application->Run();
    int code = application->ExitCode();
    delete application;
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    StowclearOptions options;
    std::string error;
    if (!ParseStowclearOptions(argc, argv, options, error)) {
        fprintf(stderr, "Stowclear: %s\n%s", error.c_str(), stowclear_usage().c_str());
        return kExitUsage;
    }
    bool commandLine = options.unattended || options.list || options.help || options.version;
    FrontEndFacts facts = front_end_facts(commandLine, WindowSupport::Built);
    if (choose_front_end(facts) == FrontEnd::Window) {
        // This thread becomes the windows' UI thread.
        if (UiDisplay::Connect())
            return RunWindows(options);
        fprintf(stderr, "Stowclear: no window can be shown: %s\n", UiDisplay::Problem().c_str());
        facts.display = false;
    }
    if (choose_front_end(facts) == FrontEnd::TerminalFlow)
        return StowclearFlow(options).Run();
    return RunStowclear(options);
}
