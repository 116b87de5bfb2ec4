#include "XResources.h"

#include <X11/Xresource.h>

#include <cstdlib>

namespace fltk_module {

float XftDpi(::Display* display)
{
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr)
        return 0;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (database == nullptr)
        return 0;
    char* type = nullptr;
    XrmValue value {};
    float dpi = 0;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr)
        dpi = strtof(value.addr, nullptr);
    XrmDestroyDatabase(database);
    return dpi > 0 && dpi < 2000 ? dpi : 0;
}

} // namespace fltk_module
