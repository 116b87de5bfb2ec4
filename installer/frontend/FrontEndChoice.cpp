#include "FrontEndChoice.h"

#include "TerminalInfo.h"

#include <cstdlib>

namespace {

bool Names(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

FrontEnd choose_front_end(const FrontEndFacts& facts)
{
    if (facts.commandLineAsked)
        return FrontEnd::CommandLine;
    if (facts.windows == WindowSupport::Built && facts.display)
        return FrontEnd::Window;
    return facts.terminal ? FrontEnd::TerminalFlow : FrontEnd::CommandLine;
}

FrontEndFacts front_end_facts(bool commandLineAsked, WindowSupport windows)
{
    FrontEndFacts facts;
    facts.commandLineAsked = commandLineAsked;
    facts.windows = windows;
    facts.display = Names("DISPLAY") || Names("WAYLAND_DISPLAY");
    facts.terminal = is_terminal(0) && is_terminal(1);
    return facts;
}
