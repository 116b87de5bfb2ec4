// stowpack's commands that make and read installers.
#pragma once

#include "Command.h"

extern const Command kBuildCommand; // stowpack build PRODUCT.json -o OUT
extern const Command kDumpCommand;  // stowpack dump INSTALLER
