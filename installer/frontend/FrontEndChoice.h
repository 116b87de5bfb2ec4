// Which front end a start of Stowfast or Stowclear gets: the command line
// when its options ask for it (unattended, listing, help), else the windows
// when the program has them and a display is there, else the guided flow
// when a terminal is there to ask on, else the command line again, which
// then says what it needs to go on.
#pragma once

enum class FrontEnd { CommandLine, Window, TerminalFlow };

// Whether the program was built with its windows.
enum class WindowSupport { None, Built };

struct FrontEndFacts {
    bool commandLineAsked = false;
    WindowSupport windows = WindowSupport::None;
    bool display = false;  // DISPLAY or WAYLAND_DISPLAY names one
    bool terminal = false; // standard input and output are both terminals
};

FrontEnd choose_front_end(const FrontEndFacts& facts);

// The facts of this process.
FrontEndFacts front_end_facts(bool commandLineAsked, WindowSupport windows);
