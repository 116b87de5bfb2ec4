// What every front end of Stowclear does first with its options: keeps the
// chosen language on the program's file, answers the collision question in
// advance when asked to, and stamps the program's version.
#pragma once

#include "StowclearOptions.h"

void apply_stowclear_start(const StowclearOptions& options);
