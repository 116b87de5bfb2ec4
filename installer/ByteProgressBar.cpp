#include "ByteProgressBar.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr rgb_color kFilled = {50, 150, 255, 255};

} // namespace

ByteProgressBar::ByteProgressBar(BRect frame, const char* name)
    : BView(frame, name, B_FOLLOW_LEFT | B_FOLLOW_BOTTOM, B_WILL_DRAW)
{
    SetViewColor(tint_color(ui_color(B_PANEL_BACKGROUND_COLOR), B_DARKEN_1_TINT));
}

void ByteProgressBar::SetProgress(uint64 done, uint64 total)
{
    float fraction = total == 0 ? 0 : float(double(std::min(done, total)) / double(total));
    // Only a change a pixel wide is worth drawing.
    if (std::fabs(fraction - fFraction) * Bounds().Width() < 0.5f && fraction != 1)
        return;
    fFraction = fraction;
    Invalidate();
}

void ByteProgressBar::Draw(BRect)
{
    BRect bounds = Bounds();
    if (fFraction <= 0)
        return;
    BRect filled = bounds;
    filled.right = bounds.left + std::round(bounds.Width() * fFraction);
    SetHighColor(kFilled);
    FillRect(filled);
}
