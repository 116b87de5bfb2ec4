// One-call message boxes: a formatted text in an alert with one "OK"
// button. The waiting ones block the calling thread until answered.
#pragma once

#include "LibString.h"

#include <cstdarg>

// The room of a message box's text, terminator included.
constexpr int32 kMessageBoxTextSize = 1024;

// The purpose tag of message boxes (docs/alerts.md).
constexpr const char* kMessageBoxPurpose = "message";

// Stop alert; answers the pressed button's index (0), -1 when it could not
// be shown.
int32 LibError(const char* format, ...) __attribute__((format(printf, 1, 2)));
int32 LibWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
int32 LibInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Shows the alert and returns at once.
void LibInfoNoWait(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text of a message box: `format` with `args`; a longer text is cut at
// the start of a character so that it keeps to kMessageBoxTextSize - 1
// bytes. A null format gives an empty text.
LibString lib_message_box_text(const char* format, va_list args);
