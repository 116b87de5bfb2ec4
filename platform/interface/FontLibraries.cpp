#include "FontLibraries.h"

#include <dlfcn.h>

namespace {

template<typename Function> bool Find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool FindFreeType(void* library, FontLibraries& fonts)
{
    return Find(library, "FT_Init_FreeType", fonts.ft_init)
        && Find(library, "FT_Done_FreeType", fonts.ft_done)
        && Find(library, "FT_New_Face", fonts.ft_new_face)
        && Find(library, "FT_Done_Face", fonts.ft_done_face)
        && Find(library, "FT_Get_Char_Index", fonts.ft_char_index)
        && Find(library, "FT_Get_Advance", fonts.ft_advance);
}

bool FindFontconfig(void* library, FontLibraries& fonts)
{
    return Find(library, "FcInit", fonts.fc_init)
        && Find(library, "FcPatternCreate", fonts.fc_pattern_create)
        && Find(library, "FcPatternDestroy", fonts.fc_pattern_destroy)
        && Find(library, "FcPatternAddString", fonts.fc_add_string)
        && Find(library, "FcPatternAddInteger", fonts.fc_add_integer)
        && Find(library, "FcPatternAddBool", fonts.fc_add_bool)
        && Find(library, "FcConfigSubstitute", fonts.fc_config_substitute)
        && Find(library, "FcDefaultSubstitute", fonts.fc_default_substitute)
        && Find(library, "FcFontMatch", fonts.fc_font_match)
        && Find(library, "FcPatternGetString", fonts.fc_get_string)
        && Find(library, "FcPatternGetInteger", fonts.fc_get_integer);
}

const FontLibraries* Load()
{
    void* freetype = dlopen("libfreetype.so.6", RTLD_NOW | RTLD_LOCAL);
    void* fontconfig = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
    static FontLibraries fonts;
    if (freetype != nullptr && fontconfig != nullptr && FindFreeType(freetype, fonts)
        && FindFontconfig(fontconfig, fonts))
        return &fonts;
    if (freetype != nullptr)
        dlclose(freetype);
    if (fontconfig != nullptr)
        dlclose(fontconfig);
    return nullptr;
}

} // namespace

const FontLibraries* FontLibraries::Get()
{
    static const FontLibraries* fonts = Load();
    return fonts;
}
