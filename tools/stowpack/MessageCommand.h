// stowpack message encode|decode: a flattened message to and from its
// canonical JSON form.
#pragma once

#include "Command.h"

extern const Command kMessageCommand;
