// The functions of FreeType and fontconfig that text measuring needs, looked
// up once with dlopen: a machine without them (a server, a small container)
// still runs the programs, and text is then measured by estimate.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <fontconfig/fontconfig.h>

struct FontLibraries {
    decltype(&FT_Init_FreeType) ft_init = nullptr;
    decltype(&FT_Done_FreeType) ft_done = nullptr;
    decltype(&FT_New_Face) ft_new_face = nullptr;
    decltype(&FT_Done_Face) ft_done_face = nullptr;
    decltype(&FT_Get_Char_Index) ft_char_index = nullptr;
    decltype(&FT_Get_Advance) ft_advance = nullptr;

    decltype(&FcInit) fc_init = nullptr;
    decltype(&FcPatternCreate) fc_pattern_create = nullptr;
    decltype(&FcPatternDestroy) fc_pattern_destroy = nullptr;
    decltype(&FcPatternAddString) fc_add_string = nullptr;
    decltype(&FcPatternAddInteger) fc_add_integer = nullptr;
    decltype(&FcPatternAddBool) fc_add_bool = nullptr;
    decltype(&FcConfigSubstitute) fc_config_substitute = nullptr;
    decltype(&FcDefaultSubstitute) fc_default_substitute = nullptr;
    decltype(&FcFontMatch) fc_font_match = nullptr;
    decltype(&FcPatternGetString) fc_get_string = nullptr;
    decltype(&FcPatternGetInteger) fc_get_integer = nullptr;

    // Both libraries, or null when either cannot be loaded whole.
    static const FontLibraries* Get();
};
