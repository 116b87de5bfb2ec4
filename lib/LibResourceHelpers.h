// Typed values read from an open resource file. Each is true only when the
// resource exists with exactly the size of its kind, and only then changes
// the value.
#pragma once

#include "BRect.h"
#include "BResources.h"
#include "GraphicsDefs.h"

bool LibFindRGBResource(BResources& resources, const long& id, rgb_color& color);
bool LibFindRectResource(BResources& resources, const long& id, BRect& rect);
bool LibFindShortResource(BResources& resources, const long& id, signed char& value);
// Four bytes, the platform's byte order.
bool LibFindLongResource(BResources& resources, const long& id, long& value);
bool LibFindBoolResource(BResources& resources, const long& id, bool& value);
// 'CSTR': `text` is emptied, then receives the text when there is one (up to
// its terminating zero, or to the resource's end). The caller's buffer must
// hold the text and its zero; the sized form never writes more than `size`
// bytes and cuts a longer text.
bool LibFindStringResource(BResources& resources, const long& id, char* text);
bool LibFindStringResource(BResources& resources, const long& id, char* text, const size_t& size);
