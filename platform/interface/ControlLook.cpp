#include "ControlLook.h"

#include <cmath>

void ControlLook::DrawBevel(BView* view, BRect frame, bool raised)
{
    rgb_color light = raised ? Shine() : Shadow();
    rgb_color dark = raised ? Shadow() : Shine();
    view->BeginLineArray(4);
    view->AddLine(BPoint(frame.left, frame.top), BPoint(frame.right - 1, frame.top), light);
    view->AddLine(BPoint(frame.left, frame.top), BPoint(frame.left, frame.bottom - 1), light);
    view->AddLine(BPoint(frame.left + 1, frame.bottom), BPoint(frame.right, frame.bottom), dark);
    view->AddLine(BPoint(frame.right, frame.top + 1), BPoint(frame.right, frame.bottom), dark);
    view->EndLineArray();
}

void ControlLook::DrawButton(BView* view, BRect frame, bool pressed, bool enabled, bool isDefault)
{
    view->PushState();
    view->SetDrawingMode(B_OP_COPY);
    if (isDefault) {
        view->SetHighColor(enabled ? make_color(0, 0, 0) : Shadow());
        view->StrokeRoundRect(frame, 3, 3);
        frame.InsetBy(1, 1);
    }
    rgb_color face = pressed ? tint_color(Panel(), B_DARKEN_1_TINT)
        : enabled            ? Face()
                             : tint_color(Panel(), B_LIGHTEN_1_TINT);
    view->SetHighColor(face);
    view->FillRoundRect(frame, 2, 2);
    view->SetHighColor(enabled ? Outline() : Shadow());
    view->StrokeRoundRect(frame, 2, 2);
    BRect inner = frame;
    inner.InsetBy(1, 1);
    if (enabled)
        DrawBevel(view, inner, !pressed);
    view->PopState();
}

void ControlLook::DrawSunkenBox(BView* view, BRect frame, bool enabled)
{
    view->PushState();
    view->SetDrawingMode(B_OP_COPY);
    DrawBevel(view, frame, false);
    frame.InsetBy(1, 1);
    view->SetHighColor(enabled ? Outline() : Shadow());
    view->StrokeRect(frame);
    frame.InsetBy(1, 1);
    view->SetHighColor(enabled ? make_color(255, 255, 255) : Face());
    view->FillRect(frame);
    view->PopState();
}

// The glyphs of a baseline at y cover the rows y - ascent + 1 to
// y + descent: centring them in the box's rows gives this.
float ControlLook::Baseline(BView* view, BRect box)
{
    font_height height;
    view->GetFontHeight(&height);
    float ascent = std::ceil(height.ascent), descent = std::ceil(height.descent);
    return std::floor(box.top + (box.Height() + 1 + ascent - descent) / 2) - 1;
}

float ControlLook::DrawLabel(
    BView* view, const char* text, BRect box, alignment align, rgb_color color)
{
    if (text == nullptr)
        return box.left;
    float width = view->StringWidth(text);
    float left = align == B_ALIGN_RIGHT ? box.right + 1 - width
        : align == B_ALIGN_CENTER       ? std::floor(box.left + (box.Width() + 1 - width) / 2)
                                        : box.left;
    view->PushState();
    view->SetDrawingMode(B_OP_OVER);
    view->SetHighColor(color);
    view->DrawString(text, BPoint(left, Baseline(view, box)));
    view->PopState();
    return left;
}

void ControlLook::DrawFocusLine(BView* view, float left, float right, float baseline)
{
    view->PushState();
    view->SetHighColor(Navigation());
    view->StrokeLine(BPoint(left, baseline + 2), BPoint(right, baseline + 2));
    view->PopState();
}
