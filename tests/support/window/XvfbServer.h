// A private X server for window tests: Xvfb on a display number it picks
// itself, with DISPLAY and the display module's path set for this process,
// started once and stopped when the process ends.
#pragma once

#include <string>

namespace stowtest {

class XvfbServer {
public:
    // Starts the server on first use; false (and a reason) when Xvfb or
    // the module is missing.
    static bool Start(std::string* problem = nullptr);
    static std::string Display();

private:
    static void Stop();
};

} // namespace stowtest
