// The panel under every view of the installer's and the deinstaller's main
// window, carrying the installer's banner "Tarnwick: Stowfast v1.3.1"
// upward along the right edge: in the lower right corner of the installer,
// in the upper right corner of the deinstaller.
#pragma once

#include "BView.h"

class BackgroundView : public BView {
public:
    enum class Banner { LowerRight, UpperRight };

    static constexpr const char* kBannerText = "Tarnwick: Stowfast v1.3.1";

    explicit BackgroundView(BRect frame, Banner banner = Banner::LowerRight);

    void Draw(BRect updateRect) override;

    // Where the banner's baseline starts.
    BPoint BannerStart() const;

private:
    Banner fBanner;
};
