// Drawing into a window's back buffer with the toolkit's primitives; text
// and blended fills go through Xft and X Render.
#pragma once

#include "NativeInterface.h"

namespace fltk_module {

class FltkDisplay;

class FltkPainter final : public native::Painter {
public:
    explicit FltkPainter(FltkDisplay& display);

    void Begin();
    void End();

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
    void LineWidth(float width);

    FltkDisplay& fDisplay;
    uint8_t fColor[4] = {0, 0, 0, 255};
    int fClipDepth = 0;
};

} // namespace fltk_module
