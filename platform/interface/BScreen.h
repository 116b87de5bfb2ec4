// The main screen: its frame in points (the display's pixels divided by the
// scale) and its colour space, and the system palette's colour lookups.
// Without a display the screen is not valid and reports a 1024 by 768
// frame, so that windows placed on it still land somewhere sensible.
#pragma once

#include "BRect.h"
#include "GraphicsDefs.h"
#include "SystemPalette.h"

class BWindow;

struct screen_id {
    int32 id;
};
constexpr screen_id B_MAIN_SCREEN_ID = {0};

class BScreen {
public:
    explicit BScreen(screen_id id = B_MAIN_SCREEN_ID);
    explicit BScreen(BWindow* window);

    bool IsValid() const { return fValid; }
    status_t SetToNext() { return B_ERROR; }
    color_space ColorSpace() const { return fSpace; }
    BRect Frame() const { return fFrame; }
    screen_id ID() const { return B_MAIN_SCREEN_ID; }

    uint8 IndexForColor(rgb_color color) const;
    uint8 IndexForColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255) const;
    rgb_color ColorForIndex(uint8 index) const;
    uint8 InvertIndex(uint8 index) const;
    const color_map* ColorMap() const { return system_colors(); }

private:
    void Init();

    bool fValid = false;
    BRect fFrame;
    color_space fSpace = B_RGB32;
};
