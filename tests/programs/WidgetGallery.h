// The gallery of the library's widgets (picture buttons, labels, menus,
// lists, icons, tips) in their states, for screenshots (scripts/screenshots)
// and the tests that look at pixels.
#pragma once

class BWindow;
class LibTipManager;

namespace stowtest {

// A new, hidden window titled "Widget gallery" near the screen's top left.
BWindow* MakeWidgetGalleryWindow();

// Shows the tip of the gallery's folder button through `tips`, as the
// application would when the pointer enters the button. The window must be
// showing.
void ShowGalleryTip(BWindow* gallery, LibTipManager& tips);

} // namespace stowtest
