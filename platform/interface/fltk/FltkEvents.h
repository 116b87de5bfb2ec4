// Turns the toolkit's events into the kit's: buttons, modifiers and keys
// take the kit's values (InterfaceDefs.h), so the kit never sees FLTK's.
#pragma once

#include "NativeInterface.h"

namespace fltk_module {

// Fills `event` from the toolkit's current event `flEvent` (FL_PUSH, ...);
// false for events the kit does not take.
bool TranslateEvent(int flEvent, native::Event& event);

} // namespace fltk_module
