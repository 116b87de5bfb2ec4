#include "BackgroundView.h"

namespace {

constexpr float kBannerSize = 10;
// The installer's banner ends this far above the bottom edge, below which
// the window keeps its buttons; the deinstaller's starts below the top.
constexpr float kLowerRightRise = 45;
constexpr float kUpperRightDrop = 8;

} // namespace

BackgroundView::BackgroundView(BRect frame, Banner banner)
    : BView(frame, "bgview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW)
    , fBanner(banner)
{
    SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    BFont font;
    font.SetSize(kBannerSize);
    font.SetRotation(90);
    SetFont(&font);
}

BPoint BackgroundView::BannerStart() const
{
    BRect bounds = Bounds();
    if (fBanner == Banner::LowerRight)
        return BPoint(bounds.right - 1, bounds.bottom - kLowerRightRise);
    return BPoint(bounds.right - 1, StringWidth(kBannerText) + bounds.top + kUpperRightDrop);
}

void BackgroundView::Draw(BRect)
{
    SetDrawingMode(B_OP_OVER);
    SetHighColor(0, 0, 0);
    DrawString(kBannerText, BannerStart());
    SetDrawingMode(B_OP_COPY);
}
