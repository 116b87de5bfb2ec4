#include "FileIcons.h"

#include "BitmapArchive.h"

#include <string_view>

namespace {

using Picture = const char* const[FileIcons::kSize];

// A page with a folded corner and lines of text.
constexpr Picture kDocument = {
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwggggwwkkkk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwgggggwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};

// A terminal window with a prompt.
constexpr Picture kProgram = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbbbbbbbbwwbk.",
    ".kkkkkkkkkkkkkk.",
    ".kddddddddddddk.",
    ".kdnddddddddddk.",
    ".kddndddddddddk.",
    ".kdndnnnndddddk.",
    ".kddddddddddddk.",
    ".kddddddddddddk.",
    ".kddddddddddddk.",
    ".kddddddddddddk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
};

// A folder with its tab.
constexpr Picture kFolder = {
    "................",
    "................",
    ".kkkkkk.........",
    "kyyyyyyk........",
    "kyyyyyyykkkkkkk.",
    "kyyyyyyyyyyyyyyk",
    "kkkkkkkkkkkkkkkk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kllllllllllllllk",
    "kkkkkkkkkkkkkkkk",
    "................",
};

constexpr bool IsWhole(Picture& picture)
{
    for (const char* row : picture) {
        if (std::string_view(row).size() != FileIcons::kSize)
            return false;
    }
    return true;
}
static_assert(IsWhole(kDocument) && IsWhole(kProgram) && IsWhole(kFolder));

struct Color {
    char key;
    uint8 red, green, blue, alpha;
};

const Color kPalette[] = {
    {'.', 0, 0, 0, 0},
    {'k', 48, 48, 48, 255},
    {'w', 255, 255, 255, 255},
    {'g', 150, 150, 150, 255},
    {'b', 60, 100, 200, 255},
    {'d', 32, 32, 40, 255},
    {'n', 90, 220, 90, 255},
    {'y', 225, 180, 60, 255},
    {'l', 250, 215, 110, 255},
};

Color ColorOf(char key)
{
    for (const Color& color : kPalette) {
        if (color.key == key)
            return color;
    }
    return kPalette[0];
}

} // namespace

namespace FileIcons {

BMessage Archive(ItemFacts::Kind kind)
{
    Picture& picture = kind == ItemFacts::Kind::Folder ? kFolder
        : kind == ItemFacts::Kind::Program             ? kProgram
                                                       : kDocument;
    std::string pixels;
    pixels.reserve(kSize * kSize * 4);
    for (const char* row : picture) {
        for (int32 x = 0; x < kSize; ++x) {
            Color color = ColorOf(row[x]);
            pixels += char(color.blue);
            pixels += char(color.green);
            pixels += char(color.red);
            pixels += char(color.alpha);
        }
    }
    return BitmapArchive::Make("LibBitmap", kSize, kSize, BitmapArchive::kRgba32, pixels);
}

} // namespace FileIcons
