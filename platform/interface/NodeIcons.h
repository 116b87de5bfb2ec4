// What BNodeInfo::GetTrackerIcon draws: the icon a file manager would show
// for a file, found by its kind and type in the desktop's icon theme, with
// the kit's own icons when the theme has none.
#pragma once

#include "BuiltinIcons.h"
#include "SupportDefs.h"

#include <string>
#include <vector>

class BBitmap;

class NodeIcons {
public:
    struct Choice {
        std::vector<std::string> themeNames; // freedesktop icon names, best first
        BuiltinIcon builtin = BuiltinIcon::kFile;
    };

    // The icon for the node at `path` (links followed; a broken link is a
    // link).
    static Choice ChoiceFor(const char* path);
    // Fills `bitmap` with that icon, scaled to its size.
    static status_t Draw(const char* path, BBitmap* bitmap);
};
