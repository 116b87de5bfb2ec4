#include "BStatusBar.h"

#include "ControlLook.h"

#include <algorithm>
#include <cmath>

BStatusBar::BStatusBar(BRect frame, const char* name, const char* label, const char* trailingLabel)
    : BView(frame, name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_FRAME_EVENTS)
    , fLabel(label != nullptr ? label : "")
    , fTrailingLabel(trailingLabel != nullptr ? trailingLabel : "")
{
    SetViewColor(B_TRANSPARENT_COLOR);
}

BStatusBar::~BStatusBar() = default;

void BStatusBar::AttachedToWindow()
{
    if (Parent() != nullptr)
        SetLowColor(Parent()->ViewColor());
}

void BStatusBar::SetBarColor(rgb_color color)
{
    fBarColor = color;
    Invalidate();
}

void BStatusBar::SetBarHeight(float height)
{
    fBarHeight = std::max(height, 4.0f);
    Invalidate();
}

void BStatusBar::SetText(const char* text)
{
    fText = text != nullptr ? text : "";
    Invalidate();
}

void BStatusBar::SetTrailingText(const char* text)
{
    fTrailingText = text != nullptr ? text : "";
    Invalidate();
}

void BStatusBar::SetMaxValue(float max)
{
    fMax = std::max(max, 0.0f);
    fValue = std::clamp(fValue, 0.0f, fMax);
    Invalidate();
}

void BStatusBar::Update(float delta, const char* text, const char* trailingText)
{
    SetTo(fValue + delta, text, trailingText);
}

void BStatusBar::SetTo(float value, const char* text, const char* trailingText)
{
    fValue = std::clamp(value, 0.0f, fMax);
    if (text != nullptr)
        fText = text;
    if (trailingText != nullptr)
        fTrailingText = trailingText;
    Invalidate();
}

void BStatusBar::Reset(const char* label, const char* trailingLabel)
{
    fLabel = label != nullptr ? label : "";
    fTrailingLabel = trailingLabel != nullptr ? trailingLabel : "";
    fText.clear();
    fTrailingText.clear();
    fValue = 0;
    fMax = 100;
    Invalidate();
}

void BStatusBar::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case B_UPDATE_STATUS_BAR:
        Update(message->FindFloat("delta"), message->FindString("text"),
            message->FindString("trailing_text"));
        break;
    case B_RESET_STATUS_BAR:
        Reset(message->FindString("label"), message->FindString("trailing_label"));
        break;
    default:
        BView::MessageReceived(message);
        break;
    }
}

BRect BStatusBar::BarFrame() const
{
    BRect bounds = Bounds();
    return BRect(bounds.left, bounds.bottom - fBarHeight + 1, bounds.right, bounds.bottom);
}

// The texts share the line above the bar; when they do not fit, the left
// text is shortened in its middle.
void BStatusBar::Draw(BRect)
{
    BRect bar = BarFrame();
    BRect line(Bounds().left, Bounds().top, Bounds().right, bar.top - 2);
    std::string right = fTrailingText + fTrailingLabel;
    float rightWidth = std::ceil(StringWidth(right.c_str()));
    std::string left = fText;
    BFont font;
    GetFont(&font);
    float room = line.Width() + 1 - rightWidth - StringWidth(fLabel.c_str()) - 8;
    font.TruncateString(&left, B_TRUNCATE_MIDDLE, std::max(room, 0.0f));
    float x = ControlLook::DrawLabel(this, fLabel.c_str(), line, B_ALIGN_LEFT, make_color(0, 0, 0));
    BRect textBox = line;
    textBox.left = x + StringWidth(fLabel.c_str());
    ControlLook::DrawLabel(this, left.c_str(), textBox, B_ALIGN_LEFT, make_color(0, 0, 0));
    ControlLook::DrawLabel(this, right.c_str(), line, B_ALIGN_RIGHT, make_color(0, 0, 0));

    ControlLook::DrawBevel(this, bar, false);
    BRect inside = bar;
    inside.InsetBy(1, 1);
    SetHighColor(ControlLook::Outline());
    StrokeRect(inside);
    inside.InsetBy(1, 1);
    float filled = fMax > 0 ? std::floor((inside.Width() + 1) * fValue / fMax) : 0;
    SetHighColor(make_color(255, 255, 255));
    FillRect(inside);
    if (filled > 0) {
        SetHighColor(fBarColor);
        FillRect(BRect(inside.left, inside.top, inside.left + filled - 1, inside.bottom));
    }
}

void BStatusBar::GetPreferredSize(float* width, float* height)
{
    font_height fontHeight;
    GetFontHeight(&fontHeight);
    if (width != nullptr)
        *width = Bounds().Width();
    if (height != nullptr)
        *height = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent) + 3 + fBarHeight;
}
