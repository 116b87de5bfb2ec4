// stowpack folders: the standard folders and where they resolve now.
#pragma once

#include "Command.h"

extern const Command kFoldersCommand;
