// Decodes PNG files (the desktop's icons) into straight RGBA pixels.
#pragma once

#include "NativeInterface.h"

namespace fltk_module {

bool ReadPng(const char* path, int maxSide, native::PixelSink sink, void* context);

} // namespace fltk_module
