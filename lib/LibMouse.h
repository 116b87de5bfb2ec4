// The state of the mouse as a view sees it.
#pragma once

class BView;

// True when the view's current mouse buttons are exactly the secondary one
// (a right click asking for a context menu).
bool LibIsMouseButton3(BView* view);
