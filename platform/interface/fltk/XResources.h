// What the desktop tells X clients through the root window's resources.
#pragma once

#include <X11/Xlib.h>

namespace fltk_module {

// The "Xft.dpi" resource, 0 when it is not set.
float XftDpi(::Display* display);

} // namespace fltk_module
