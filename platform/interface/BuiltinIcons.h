// The kit's own icons for when the desktop has none to give: a folder, a
// file, a program and a link, drawn at any size.
#pragma once

class BBitmap;

enum class BuiltinIcon {
    kFolder,
    kFile,
    kProgram,
    kLink,
    kVolume,
};

class BuiltinIcons {
public:
    // Draws the icon over the whole of `bitmap` (B_RGBA32, made to accept
    // views), its background left transparent.
    static void Draw(BuiltinIcon icon, BBitmap* bitmap);
};
