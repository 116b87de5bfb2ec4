// The alerts of the gallery: one of each type, with one, two and three
// buttons, and the collision dialog with its detail rows and check box.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace stowtest {

struct GalleryAlert {
    std::string leaf;          // the picture's name
    std::function<void()> ask; // asks the alert (and waits for it)
    std::string answer;        // the button that closes it
};

// `folder` is where the collision dialog's two files are made.
std::vector<GalleryAlert> GalleryAlerts(const std::string& folder);

} // namespace stowtest
