#include "SystemPalette.h"

#include <mutex>
#include <unordered_map>

namespace {

constexpr int kGreys = 32;
constexpr int kCubeStart = kGreys;
constexpr int kCubeLevels = 6;
constexpr int kExtrasStart = kCubeStart + kCubeLevels * kCubeLevels * kCubeLevels;

// Colours of the windows that neither the ramp nor the cube holds.
constexpr rgb_color kExtras[] = {
    {255, 255, 203, 255}, // tips
    {242, 242, 242, 255},
    {232, 232, 232, 255}, // raised button faces
    {194, 194, 194, 255},
    {108, 108, 108, 255},
    {51, 203, 255, 255},
    {255, 175, 19, 255},
};
static_assert(kExtrasStart + sizeof(kExtras) / sizeof(kExtras[0]) == 255);

uint32 Key(rgb_color color)
{
    return uint32(color.red) << 16 | uint32(color.green) << 8 | color.blue;
}

// The first entry of each colour the palette holds exactly. Most colours of
// a converted picture are none of them, and a scan of the palette for each
// of its pixels made a list of file icons slow to fill.
const std::unordered_map<uint32, uint8>& ExactEntries()
{
    static const std::unordered_map<uint32, uint8> entries = [] {
        std::unordered_map<uint32, uint8> made;
        const color_map* map = system_colors();
        for (int i = 0; i < 255; ++i)
            made.emplace(Key(map->color_list[i]), uint8(i));
        return made;
    }();
    return entries;
}

int Distance(rgb_color a, rgb_color b)
{
    int red = a.red - b.red, green = a.green - b.green, blue = a.blue - b.blue;
    return red * red + green * green + blue * blue;
}

uint8 Nearest(const color_map& map, rgb_color color)
{
    int best = 0;
    int bestDistance = Distance(map.color_list[0], color);
    for (int i = 1; i < 255; ++i) {
        int distance = Distance(map.color_list[i], color);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return uint8(best);
}

void Build(color_map& map)
{
    map.id = 0;
    for (int i = 0; i < kGreys; ++i) {
        uint8 value = uint8(i == kGreys - 1 ? 255 : i * 8);
        map.color_list[i] = make_color(value, value, value);
    }
    int index = kCubeStart;
    for (int red = 0; red < kCubeLevels; ++red) {
        for (int green = 0; green < kCubeLevels; ++green) {
            for (int blue = 0; blue < kCubeLevels; ++blue)
                map.color_list[index++]
                    = make_color(uint8(red * 51), uint8(green * 51), uint8(blue * 51));
        }
    }
    for (rgb_color extra : kExtras)
        map.color_list[index++] = extra;
    map.color_list[255] = B_TRANSPARENT_COLOR;
    for (int i = 0; i < 32768; ++i) {
        auto expand = [](int five) { return uint8((five << 3) | (five >> 2)); };
        map.index_map[i]
            = Nearest(map, make_color(expand(i >> 10), expand((i >> 5) & 31), expand(i & 31)));
    }
    for (int i = 0; i < 256; ++i) {
        rgb_color color = map.color_list[i];
        map.inversion_map[i] = Nearest(map,
            make_color(uint8(255 - color.red), uint8(255 - color.green), uint8(255 - color.blue)));
    }
}

} // namespace

const color_map* system_colors()
{
    static color_map map;
    static std::once_flag built;
    std::call_once(built, [] { Build(map); });
    return &map;
}

uint8 system_index_for_color(rgb_color color)
{
    const color_map* map = system_colors();
    uint8 index
        = map->index_map[(color.red >> 3) * 1024 + (color.green >> 3) * 32 + (color.blue >> 3)];
    // The 15-bit table blurs exact entries by a little; an entry that
    // matches exactly wins.
    if (map->color_list[index].red == color.red && map->color_list[index].green == color.green
        && map->color_list[index].blue == color.blue)
        return index;
    auto exact = ExactEntries().find(Key(color));
    return exact != ExactEntries().end() ? exact->second : index;
}
