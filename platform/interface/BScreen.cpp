#include "BScreen.h"

#include "ScreenInfo.h"
#include "UiDisplay.h"
#include "UiScale.h"

#include <cmath>

BScreen::BScreen(screen_id)
{
    Init();
}

BScreen::BScreen(BWindow*)
{
    Init();
}

void BScreen::Init()
{
    native::ScreenFacts facts = UiDisplay::Screen();
    fValid = facts.frame.w > 0 && facts.frame.h > 0;
    if (!fValid) {
        fFrame = BRect(0, 0, 1023, 767);
        return;
    }
    float scale = ui_scale();
    fFrame = BRect(0, 0, std::floor(float(facts.frame.w) / scale) - 1,
        std::floor(float(facts.frame.h) / scale) - 1);
    color_space space = color_space_for_depth(facts.depth);
    fSpace = space != B_NO_COLOR_SPACE ? space : B_RGB32;
}

uint8 BScreen::IndexForColor(rgb_color color) const
{
    return system_index_for_color(color);
}

uint8 BScreen::IndexForColor(uint8 red, uint8 green, uint8 blue, uint8 alpha) const
{
    return system_index_for_color(make_color(red, green, blue, alpha));
}

rgb_color BScreen::ColorForIndex(uint8 index) const
{
    return system_colors()->color_list[index];
}

uint8 BScreen::InvertIndex(uint8 index) const
{
    return system_colors()->inversion_map[index];
}
