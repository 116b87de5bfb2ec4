// The gallery window: every control of the window kit in its states, for
// screenshots (scripts/screenshots) and for the tests that look at pixels.
#pragma once

class BWindow;

namespace stowtest {

// A new, hidden window titled "Window kit gallery" at the screen's top left.
BWindow* MakeGalleryWindow();
// Adds the gallery's views to a window of at least 600 by 560 points.
void FillGallery(BWindow* window);

} // namespace stowtest
