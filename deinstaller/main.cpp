// Stowclear, the deinstaller that an installation places beside the product:
// the command line when its options ask for it, else the guided flow on a
// terminal, else the command line, which then says that it needs
// --unattended.
#include "FrontEndChoice.h"
#include "StowclearCommand.h"
#include "StowclearFlow.h"
#include "StowclearOptions.h"

#include <cstdio>
#include <string>

namespace {

// The deinstaller's windows plug in here: built in, they are chosen wherever
// a display is.
constexpr WindowSupport kWindows = WindowSupport::None;

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
    switch (choose_front_end(front_end_facts(commandLine, kWindows))) {
    case FrontEnd::TerminalFlow:
        return StowclearFlow(options).Run();
    case FrontEnd::Window: // never chosen while kWindows is None
    case FrontEnd::CommandLine:
        break;
    }
    return RunStowclear(options);
}
