// The file of the running program, where its resources and its own settings
// (the "language" attribute) live: /proc/self/exe resolved to its path.
#pragma once

#include "SupportDefs.h"

#include <string>

// B_ENTRY_NOT_FOUND when the program's file was deleted or replaced since it
// started (the kernel then names it "... (deleted)").
status_t get_running_executable_path(std::string& path);

// Makes the lookup above answer `path` instead (null restores the real one).
// Meant for tests, which attach tables and attributes to a copy of a program
// they control rather than to the build's own file.
void set_running_executable_path(const char* path);
