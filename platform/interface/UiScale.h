// The one factor by which every frame, font and bitmap is drawn larger on a
// high-density screen. Views work in points; the drawing layer multiplies.
#pragma once

// STOW_SCALE when set, else the desktop's GDK_SCALE, else the X resource
// Xft.dpi divided by 96 (`dpi`, 0 when unknown); rounded to a quarter, at
// least 1 and at most 8. Unreadable values count as not set.
float ui_scale_from(const char* stowScale, const char* gdkScale, float dpi);

// The process's factor: from the environment until a display is connected,
// then with the display's Xft.dpi.
float ui_scale();
void set_ui_scale(float scale);
