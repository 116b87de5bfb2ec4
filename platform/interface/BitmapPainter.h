// Draws into a bitmap's pixels in software, for views added to a bitmap:
// fills, lines, polygons, ellipses and bitmaps, blended by alpha. Text is
// not drawn (off-screen text is not something the programs use).
#pragma once

#include "NativeInterface.h"

#include <vector>

class BBitmap;

class BitmapPainter final : public native::Painter {
public:
    explicit BitmapPainter(BBitmap* bitmap);

    void SetColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) override;
    void FillRect(int x, int y, int width, int height) override;
    void StrokeLine(float x0, float y0, float x1, float y1, float width) override;
    void FillPolygon(const float* xy, int count) override;
    void StrokePolygon(const float* xy, int count, bool closed, float width) override;
    void FillEllipse(float x, float y, float width, float height) override;
    void StrokeEllipse(float x, float y, float width, float height, float lineWidth) override;
    void DrawText(const native::TextRun& run) override;
    void DrawImage(const native::Image& image, int x, int y, int width, int height) override;
    void PushClip(int x, int y, int width, int height) override;
    void PopClip() override;

private:
    void Blend(int x, int y, const uint8_t rgba[4]);
    void Span(int y, int left, int right);
    bool Inside(int x, int y) const;

    BBitmap* fBitmap;
    uint8_t fColor[4] = {0, 0, 0, 255};
    std::vector<native::Rect> fClips;
};
