// Exit codes of Stowfast and Stowclear (README.md). Usage errors and
// interruptions mean the same in both programs.
#pragma once

constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130; // Ctrl-C or a termination signal

enum InstallExitCode : int {
    kExitInstalled = 0,
    kExitDestinationUnusable = 1,
    kExitNotEnoughSpace = 3,
    kExitRequirement = 4,
    kExitDamaged = 5, // a damaged installer, or one without its record
};

enum StowclearExit : int {
    kExitRemoved = 0,
    kExitFailed = 1, // some entries could not be moved, or the search could not run
    kExitNothingFound = 3,
    kExitNotConfigured = 5,
};
