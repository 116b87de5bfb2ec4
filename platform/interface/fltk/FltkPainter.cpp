#include "FltkPainter.h"

#include "FltkDisplay.h"

#include <FL/fl_draw.H>

#include <cmath>

namespace fltk_module {

FltkPainter::FltkPainter(FltkDisplay& display)
    : fDisplay(display)
{ }

void FltkPainter::Begin()
{
    fClipDepth = 0;
    SetColor(0, 0, 0, 255);
}

void FltkPainter::End()
{
    while (fClipDepth > 0)
        PopClip();
    fl_line_style(0);
}

void FltkPainter::SetColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    fColor[0] = red;
    fColor[1] = green;
    fColor[2] = blue;
    fColor[3] = alpha;
    fl_color(red, green, blue);
}

void FltkPainter::FillRect(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0 || fColor[3] == 0)
        return;
    if (fColor[3] == 255)
        fl_rectf(x, y, width, height);
    else
        fDisplay.Surface().FillBlended(fColor, x, y, width, height);
}

// X draws width 0 as the one-pixel line its algorithm is fastest at.
void FltkPainter::LineWidth(float width)
{
    int pixels = int(std::lround(width));
    fl_line_style(FL_SOLID | FL_CAP_SQUARE | FL_JOIN_MITER, pixels <= 1 ? 0 : pixels);
}

void FltkPainter::StrokeLine(float x0, float y0, float x1, float y1, float width)
{
    LineWidth(width);
    fl_line(int(std::lround(x0)), int(std::lround(y0)), int(std::lround(x1)), int(std::lround(y1)));
    fl_line_style(0);
}

void FltkPainter::FillPolygon(const float* xy, int count)
{
    if (xy == nullptr || count < 3)
        return;
    fl_begin_complex_polygon();
    for (int i = 0; i < count; ++i)
        fl_vertex(xy[2 * i], xy[2 * i + 1]);
    fl_end_complex_polygon();
}

void FltkPainter::StrokePolygon(const float* xy, int count, bool closed, float width)
{
    if (xy == nullptr || count < 2)
        return;
    LineWidth(width);
    if (closed)
        fl_begin_loop();
    else
        fl_begin_line();
    for (int i = 0; i < count; ++i)
        fl_vertex(xy[2 * i], xy[2 * i + 1]);
    if (closed)
        fl_end_loop();
    else
        fl_end_line();
    fl_line_style(0);
}

void FltkPainter::FillEllipse(float x, float y, float width, float height)
{
    fl_pie(int(std::lround(x)), int(std::lround(y)), int(std::lround(width)),
        int(std::lround(height)), 0, 360);
}

void FltkPainter::StrokeEllipse(float x, float y, float width, float height, float lineWidth)
{
    LineWidth(lineWidth);
    fl_arc(int(std::lround(x)), int(std::lround(y)), int(std::lround(width)),
        int(std::lround(height)), 0, 360);
    fl_line_style(0);
}

void FltkPainter::DrawText(const native::TextRun& run)
{
    fDisplay.Surface().DrawText(run, fColor);
}

void FltkPainter::DrawImage(const native::Image& image, int x, int y, int width, int height)
{
    fDisplay.Images().Draw(image, x, y, width, height);
}

void FltkPainter::PushClip(int x, int y, int width, int height)
{
    fl_push_clip(x, y, width > 0 ? width : 0, height > 0 ? height : 0);
    ++fClipDepth;
}

void FltkPainter::PopClip()
{
    if (fClipDepth == 0)
        return;
    fl_pop_clip();
    --fClipDepth;
}

} // namespace fltk_module
