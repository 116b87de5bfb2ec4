// Message codes that the application kit itself gives meaning to.
#pragma once

#include "SupportDefs.h"

enum : uint32 {
    B_QUIT_REQUESTED = FourCC('_', 'Q', 'R', 'Q'),
    B_MESSAGE_NOT_UNDERSTOOD = FourCC('_', 'N', 'U', 'N'),
};
