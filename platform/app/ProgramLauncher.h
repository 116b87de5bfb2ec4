// Starts another program with an argument vector (never through a shell, so
// any argument is passed exactly as it is), for handing entries to the
// desktop's own tools.
#pragma once

#include "SupportDefs.h"

#include <functional>
#include <string>
#include <vector>

enum class ProgramOutput {
    Inherit, // standard output and error go where this program's go
    Discard, // both go to /dev/null
};

// Starts `argv` (argv[0] is a path, or a name looked up along PATH) with
// standard input from /dev/null and waits up to `waitLimit` microseconds for
// it to end. B_OK when it ended with status 0, or is still running then (a
// desktop tool that stays with the window it opened); B_ERROR when it ended
// otherwise; B_ENTRY_NOT_FOUND when it could not be started. A program still
// running is collected when it ends.
status_t launch_program(const std::vector<std::string>& argv, bigtime_t waitLimit,
    ProgramOutput output = ProgramOutput::Inherit);

// Runs `argv` with `folder` as its working folder (null: this program's) and
// waits for it to end, calling `whileWaiting` every few milliseconds. That
// call may unwind (a killed thread's cancellation point): the program is
// then sent SIGTERM and collected in the background. B_OK when it ended with
// status 0, B_ERROR otherwise, B_ENTRY_NOT_FOUND when it could not be
// started.
status_t run_program(const std::vector<std::string>& argv, const char* folder,
    const std::function<void()>& whileWaiting = {});
