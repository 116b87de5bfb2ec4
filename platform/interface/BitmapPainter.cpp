#include "BitmapPainter.h"

#include "BBitmap.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Mix(uint8_t over, uint8_t under, unsigned alpha)
{
    return uint8_t((over * alpha + under * (255 - alpha) + 127) / 255);
}

} // namespace

BitmapPainter::BitmapPainter(BBitmap* bitmap)
    : fBitmap(bitmap)
{
    BRect bounds = bitmap->Bounds();
    fClips.push_back(native::Rect {0, 0, bounds.IntegerWidth() + 1, bounds.IntegerHeight() + 1});
}

void BitmapPainter::SetColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    fColor[0] = red;
    fColor[1] = green;
    fColor[2] = blue;
    fColor[3] = alpha;
}

bool BitmapPainter::Inside(int x, int y) const
{
    const native::Rect& clip = fClips.back();
    return x >= clip.x && y >= clip.y && x < clip.x + clip.w && y < clip.y + clip.h;
}

void BitmapPainter::Blend(int x, int y, const uint8_t rgba[4])
{
    if (!Inside(x, y) || rgba[3] == 0)
        return;
    if (rgba[3] == 255) {
        fBitmap->SetPixel(x, y, make_color(rgba[0], rgba[1], rgba[2], 255));
        return;
    }
    rgb_color under = fBitmap->PixelAt(x, y);
    unsigned alpha = rgba[3];
    fBitmap->SetPixel(x, y,
        make_color(Mix(rgba[0], under.red, alpha), Mix(rgba[1], under.green, alpha),
            Mix(rgba[2], under.blue, alpha), uint8_t(alpha + under.alpha * (255 - alpha) / 255)));
}

void BitmapPainter::Span(int y, int left, int right)
{
    for (int x = left; x <= right; ++x)
        Blend(x, y, fColor);
}

void BitmapPainter::FillRect(int x, int y, int width, int height)
{
    const native::Rect& clip = fClips.back();
    int left = std::max(x, clip.x), right = std::min(x + width, clip.x + clip.w) - 1;
    int top = std::max(y, clip.y), bottom = std::min(y + height, clip.y + clip.h) - 1;
    for (int row = top; row <= bottom; ++row)
        Span(row, left, right);
    fBitmap->Touch();
}

// A line is the quadrilateral around it, as wide as the pen.
void BitmapPainter::StrokeLine(float x0, float y0, float x1, float y1, float width)
{
    float dx = x1 - x0, dy = y1 - y0;
    // sqrt, not hypotf: the programs keep to the C library of 2022.
    float length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) {
        FillRect(int(std::floor(x0)), int(std::floor(y0)), 1, 1);
        return;
    }
    float half = std::max(width, 1.0f) / 2;
    float nx = -dy / length * half, ny = dx / length * half;
    const float quad[8] = {x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny};
    FillPolygon(quad, 4);
}

// Even-odd scanlines through the pixels' centres.
void BitmapPainter::FillPolygon(const float* xy, int count)
{
    if (xy == nullptr || count < 3)
        return;
    float top = xy[1], bottom = xy[1];
    for (int i = 1; i < count; ++i) {
        top = std::min(top, xy[2 * i + 1]);
        bottom = std::max(bottom, xy[2 * i + 1]);
    }
    std::vector<float> crossings;
    for (int y = int(std::floor(top)); y <= int(std::ceil(bottom)); ++y) {
        float center = float(y) + 0.5f;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            float ax = xy[2 * i], ay = xy[2 * i + 1];
            float bx = xy[2 * ((i + 1) % count)], by = xy[2 * ((i + 1) % count) + 1];
            if ((ay <= center) != (by <= center))
                crossings.push_back(ax + (center - ay) / (by - ay) * (bx - ax));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            Span(y, int(std::ceil(crossings[i] - 0.5f)),
                int(std::ceil(crossings[i + 1] - 0.5f)) - 1);
    }
    fBitmap->Touch();
}

void BitmapPainter::StrokePolygon(const float* xy, int count, bool closed, float width)
{
    if (xy == nullptr || count < 2)
        return;
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        int next = (i + 1) % count;
        StrokeLine(xy[2 * i], xy[2 * i + 1], xy[2 * next], xy[2 * next + 1], width);
    }
}

void BitmapPainter::FillEllipse(float x, float y, float width, float height)
{
    float cx = x + width / 2, cy = y + height / 2, rx = width / 2, ry = height / 2;
    if (rx <= 0 || ry <= 0)
        return;
    for (int row = int(std::floor(y)); row < int(std::ceil(y + height)); ++row) {
        float dy = (float(row) + 0.5f - cy) / ry;
        if (dy * dy > 1)
            continue;
        float half = rx * std::sqrt(1 - dy * dy);
        Span(row, int(std::ceil(cx - half - 0.5f)), int(std::ceil(cx + half - 0.5f)) - 1);
    }
    fBitmap->Touch();
}

// The ring between the outline and the outline moved in by the line width.
void BitmapPainter::StrokeEllipse(float x, float y, float width, float height, float lineWidth)
{
    float cx = x + width / 2, cy = y + height / 2;
    float outerX = width / 2 + lineWidth / 2, outerY = height / 2 + lineWidth / 2;
    float innerX = width / 2 - lineWidth / 2, innerY = height / 2 - lineWidth / 2;
    if (outerX <= 0 || outerY <= 0)
        return;
    for (int row = int(std::floor(cy - outerY)); row <= int(std::ceil(cy + outerY)); ++row) {
        for (int column = int(std::floor(cx - outerX)); column <= int(std::ceil(cx + outerX));
             ++column) {
            float px = float(column) + 0.5f - cx, py = float(row) + 0.5f - cy;
            bool inOuter = (px * px) / (outerX * outerX) + (py * py) / (outerY * outerY) <= 1;
            bool inInner = innerX > 0 && innerY > 0
                && (px * px) / (innerX * innerX) + (py * py) / (innerY * innerY) < 1;
            if (inOuter && !inInner)
                Blend(column, row, fColor);
        }
    }
    fBitmap->Touch();
}

void BitmapPainter::DrawText(const native::TextRun&) { }

// Nearest pixels, blended by their alpha unless the image is opaque.
void BitmapPainter::DrawImage(const native::Image& image, int x, int y, int width, int height)
{
    if (image.rgba == nullptr || image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0)
        return;
    for (int row = 0; row < height; ++row) {
        int sourceRow = row * image.height / height;
        for (int column = 0; column < width; ++column) {
            int sourceColumn = column * image.width / width;
            const uint8_t* pixel
                = image.rgba + size_t(sourceRow) * size_t(image.stride) + size_t(sourceColumn) * 4;
            Blend(x + column, y + row, pixel);
        }
    }
    fBitmap->Touch();
}

void BitmapPainter::PushClip(int x, int y, int width, int height)
{
    const native::Rect& clip = fClips.back();
    int left = std::max(x, clip.x), top = std::max(y, clip.y);
    int right = std::min(x + width, clip.x + clip.w),
        bottom = std::min(y + height, clip.y + clip.h);
    fClips.push_back(
        native::Rect {left, top, std::max(right - left, 0), std::max(bottom - top, 0)});
}

void BitmapPainter::PopClip()
{
    if (fClips.size() > 1)
        fClips.pop_back();
}
