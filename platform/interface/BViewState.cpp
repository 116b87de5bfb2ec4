// BView's drawing state (colours, mode, pen, font) and the window's drawing
// pass over the tree.
#include "BView.h"

#include "BPicture.h"
#include "BWindow.h"
#include "NativeInterface.h"

#include <cmath>

namespace {

PictureOp ColorOp(PictureOp::Kind kind, rgb_color color)
{
    PictureOp op;
    op.kind = kind;
    op.color = color;
    return op;
}

} // namespace

void BView::SetViewColor(rgb_color color)
{
    if (color == fViewColor)
        return;
    fViewColor = color;
    Invalidate();
}

void BView::SetViewColor(uint8 red, uint8 green, uint8 blue, uint8 alpha)
{
    SetViewColor(make_color(red, green, blue, alpha));
}

void BView::SetHighColor(rgb_color color)
{
    Record(ColorOp(PictureOp::kHighColor, color));
    fState.high = color;
}

void BView::SetHighColor(uint8 red, uint8 green, uint8 blue, uint8 alpha)
{
    SetHighColor(make_color(red, green, blue, alpha));
}

void BView::SetLowColor(rgb_color color)
{
    Record(ColorOp(PictureOp::kLowColor, color));
    fState.low = color;
}

void BView::SetLowColor(uint8 red, uint8 green, uint8 blue, uint8 alpha)
{
    SetLowColor(make_color(red, green, blue, alpha));
}

void BView::SetDrawingMode(drawing_mode mode)
{
    PictureOp op;
    op.kind = PictureOp::kDrawingMode;
    op.mode = mode;
    Record(op);
    fState.mode = mode;
}

void BView::SetPenSize(float size)
{
    PictureOp op;
    op.kind = PictureOp::kPenSize;
    op.value = size;
    Record(op);
    fState.penSize = size;
}

void BView::MovePenTo(BPoint point)
{
    PictureOp op;
    op.kind = PictureOp::kMovePen;
    op.rect = BRect(point, point);
    Record(op);
    fState.pen = point;
}

void BView::MovePenBy(float dx, float dy)
{
    MovePenTo(BPoint(fState.pen.x + dx, fState.pen.y + dy));
}

void BView::PushState()
{
    fSavedStates.push_back(fState);
}

void BView::PopState()
{
    if (fSavedStates.empty())
        return;
    fState = fSavedStates.back();
    fSavedStates.pop_back();
}

void BView::SetFont(const BFont* font, uint32 mask)
{
    if (font == nullptr)
        return;
    if ((mask & B_FONT_ALL) == B_FONT_ALL) {
        fState.font = *font;
    } else {
        if (mask & B_FONT_FAMILY_AND_STYLE) {
            font_family family;
            font_style style;
            font->GetFamilyAndStyle(&family, &style);
            fState.font.SetFamilyAndStyle(family, style);
        }
        if (mask & B_FONT_SIZE)
            fState.font.SetSize(font->Size());
        if (mask & B_FONT_ROTATION)
            fState.font.SetRotation(font->Rotation());
    }
    PictureOp op;
    op.kind = PictureOp::kFontSize;
    op.value = fState.font.Size();
    Record(op);
}

void BView::GetFont(BFont* font) const
{
    if (font != nullptr)
        *font = fState.font;
}

void BView::SetFontSize(float size)
{
    BFont font;
    font.SetSize(size);
    SetFont(&font, B_FONT_SIZE);
}

void BView::GetFontHeight(font_height* height) const
{
    fState.font.GetHeight(height);
}

float BView::StringWidth(const char* string) const
{
    return fState.font.StringWidth(string);
}

float BView::StringWidth(const char* string, int32 length) const
{
    return fState.font.StringWidth(string, length);
}

// The view paints its colour under its drawing (unless it is transparent),
// then draws, then its children draw over it, all clipped to the part of
// the view inside `clip`.
void BView::DrawTree(native::Painter& painter, float scale, BRect clip)
{
    if (fHideLevel > 0)
        return;
    BRect visible = ConvertToWindow(Bounds()) & clip;
    if (!visible.IsValid())
        return;
    fPainter = &painter;
    fScale = scale;
    fPainterOrigin = ConvertToWindow(BPoint(0, 0));
    BRect local = ConvertFromWindow(visible);
    int x, y, width, height;
    DeviceRect(local, x, y, width, height);
    painter.PushClip(x, y, width, height);
    if (!(fViewColor == B_TRANSPARENT_COLOR)) {
        painter.SetColor(fViewColor.red, fViewColor.green, fViewColor.blue, 255);
        painter.FillRect(x, y, width, height);
    }
    if (fFlags & B_WILL_DRAW)
        Draw(local);
    for (size_t i = 0; i < fChildren.size(); ++i)
        fChildren[i]->DrawTree(painter, scale, visible);
    if (fFlags & B_DRAW_ON_CHILDREN) {
        fPainter = &painter;
        DrawAfterChildren(local);
    }
    painter.PopClip();
    fPainter = nullptr;
}
