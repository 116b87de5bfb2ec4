// Message codes that the application and interface kits give meaning to.
#pragma once

#include "SupportDefs.h"

enum : uint32 {
    B_QUIT_REQUESTED = FourCC('_', 'Q', 'R', 'Q'),
    B_MESSAGE_NOT_UNDERSTOOD = FourCC('_', 'N', 'U', 'N'),
    B_READY_TO_RUN = FourCC('_', 'R', 'T', 'R'),
    B_PULSE = FourCC('_', 'P', 'U', 'L'),

    // Input, as the window hands it to its views.
    B_MOUSE_DOWN = FourCC('_', 'M', 'D', 'N'),
    B_MOUSE_UP = FourCC('_', 'M', 'U', 'P'),
    B_MOUSE_MOVED = FourCC('_', 'M', 'M', 'V'),
    B_MOUSE_WHEEL_CHANGED = FourCC('_', 'M', 'W', 'C'),
    B_KEY_DOWN = FourCC('_', 'K', 'Y', 'D'),
    B_KEY_UP = FourCC('_', 'K', 'Y', 'U'),

    // What happens to a window.
    B_WINDOW_ACTIVATED = FourCC('_', 'A', 'C', 'T'),
    B_WINDOW_MOVED = FourCC('_', 'W', 'M', 'V'),
    B_WINDOW_RESIZED = FourCC('_', 'W', 'R', 'S'),
    B_SCREEN_CHANGED = FourCC('_', 'S', 'C', 'H'),
    B_VIEW_MOVED = FourCC('_', 'V', 'M', 'V'),
    B_VIEW_RESIZED = FourCC('_', 'V', 'R', 'S'),

    B_CONTROL_INVOKED = FourCC('C', 'I', 'V', 'K'),
    B_SIMPLE_DATA = FourCC('D', 'A', 'T', 'A'),
    B_REFS_RECEIVED = FourCC('R', 'R', 'E', 'F'),
    B_CANCEL = FourCC('_', 'C', 'N', 'L'),
};
