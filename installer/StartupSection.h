// The boot-script section that starts the items of a start-up folder at boot
// time: those with a "run_priority" attribute first, lowest priority first,
// then the others a second later.
#pragma once

#include "LibString.h"

// The section's contents for `folder` (without a trailing newline), as long
// as the folder path needs: 1,536 bytes plus the path as written in the
// script. A path with characters the shell would interpret is written
// single-quoted, so that no folder name can run a command at boot.
LibString StartupSectionText(const char* folder);
