// The look every control shares: the panel grey and its tints, bevelled
// frames lit from the top left, and labels centred on their boxes.
#pragma once

#include "BView.h"

class ControlLook {
public:
    static rgb_color Panel() { return ui_color(B_PANEL_BACKGROUND_COLOR); }
    static rgb_color Shine() { return make_color(255, 255, 255); }
    static rgb_color Shadow() { return tint_color(Panel(), B_DARKEN_2_TINT); }
    static rgb_color Outline() { return tint_color(Panel(), B_DARKEN_4_TINT); }
    static rgb_color Face() { return make_color(232, 232, 232); }
    static rgb_color Navigation() { return ui_color(B_KEYBOARD_NAVIGATION_COLOR); }

    // Light top and left edges, dark bottom and right (the other way round
    // when sunken), one point wide inside `frame`.
    static void DrawBevel(BView* view, BRect frame, bool raised);
    // A push button's face: outline, bevel and fill; a default button has a
    // second, dark outline outside.
    static void DrawButton(BView* view, BRect frame, bool pressed, bool enabled, bool isDefault);
    // A sunken white box (text fields, check boxes, lists).
    static void DrawSunkenBox(BView* view, BRect frame, bool enabled);
    // The baseline that centres the view's font vertically in `box`.
    static float Baseline(BView* view, BRect box);
    // Text placed in `box` by `align` and centred vertically; returns its
    // left edge.
    static float DrawLabel(
        BView* view, const char* text, BRect box, alignment align, rgb_color color);
    // The keyboard focus mark: a line under text.
    static void DrawFocusLine(BView* view, float left, float right, float baseline);
};
