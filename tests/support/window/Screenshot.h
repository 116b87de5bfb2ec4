// The X server's own pixels of a window (its content area) or of the whole
// screen, after everything pending has been drawn.
#pragma once

#include "PngWriter.h"

#include <string>

class BWindow;

namespace stowtest {

// Empty pixels without a display.
Pixels CaptureWindow(BWindow* window);
Pixels CaptureScreen();
bool SaveWindow(BWindow* window, const std::string& path);

} // namespace stowtest
