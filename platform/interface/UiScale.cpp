#include "UiScale.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kMaxScale = 8;

// The number, or 0 when the text is not one.
float Parse(const char* text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    float value = strtof(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0)
        return 0;
    return value;
}

float Quarter(float value)
{
    return std::clamp(std::round(value * 4) / 4, 1.0f, kMaxScale);
}

std::atomic<float>& Current()
{
    static std::atomic<float> scale(ui_scale_from(getenv("STOW_SCALE"), getenv("GDK_SCALE"), 0));
    return scale;
}

} // namespace

float ui_scale_from(const char* stowScale, const char* gdkScale, float dpi)
{
    if (float value = Parse(stowScale); value > 0)
        return Quarter(value);
    if (float value = Parse(gdkScale); value > 0)
        return Quarter(value);
    if (dpi > 0)
        return Quarter(dpi / 96);
    return 1;
}

float ui_scale()
{
    return Current().load();
}

void set_ui_scale(float scale)
{
    Current() = Quarter(scale);
}
