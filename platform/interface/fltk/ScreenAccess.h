// The screen asked over a connection of its own, so that any thread may ask
// without touching the UI thread's connection.
#pragma once

#include "NativeInterface.h"

namespace fltk_module {

bool ProbeScreen(native::ScreenFacts* facts);
bool CaptureScreen(const native::Rect& area, native::PixelSink sink, void* context);

} // namespace fltk_module
