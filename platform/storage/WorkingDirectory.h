// The process's working folder (shared by every thread of the program).
#pragma once

#include "SupportDefs.h"

#include <string>

status_t set_working_directory(const char* path);
// Empty when the folder has been removed or cannot be named.
std::string working_directory();
