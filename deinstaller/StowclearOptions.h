// The command line of Stowclear.
#pragma once

#include <string>

enum class CollisionAnswer {
    Ask,     // the collision question is asked (or answered by default)
    Keep,    // "Don't Replace": what is at the destination stays
    Replace, // "Replace": what is at the destination goes
};

struct StowclearOptions {
    bool unattended = false;
    bool list = false;
    bool help = false;
    bool version = false;
    std::string volume;   // a mount point or any path on the volume
    std::string to;       // the folder that receives the entries
    std::string language; // a language code of the string tables
    CollisionAnswer onCollision = CollisionAnswer::Ask;
};

// Fills `options` from the arguments (argv[0] is the program); false with a
// message in `error` on a usage error. "--name value" and "--name=value".
bool ParseStowclearOptions(
    int argc, const char* const* argv, StowclearOptions& options, std::string& error);

extern const char kStowclearUsage[];
// The usage lines naming the program as it was started.
std::string stowclear_usage();
extern const char kStowclearHelp[];
