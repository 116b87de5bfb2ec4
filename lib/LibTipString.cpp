#include "LibTipString.h"

#include "BWindow.h"
#include "LibColors.h"

LibTipString::LibTipString(BRect frame)
    : BTextView(frame, "text_view", frame, B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_PULSE_NEEDED)
{
    SetViewColor(pale_yellow_color);
    BFont font(be_plain_font);
    font.SetSize(10);
    SetFontAndColor(&font, B_FONT_ALL);
    MakeEditable(false);
    MakeSelectable(false);
    BRect text = Bounds();
    text.InsetBy(1, 1);
    text.right -= 1;
    SetTextRect(text);
}

LibTipString::~LibTipString() = default;

void LibTipString::Pulse()
{
    if (Window() != nullptr)
        Window()->Hide();
}

void LibTipString::FrameResized(float width, float height)
{
    BTextView::FrameResized(width, height);
    // The same margins as at the start: 1 on every side, 2 on the right.
    BRect text = TextRect();
    text.right = text.left + width - 3;
    text.bottom = text.top + height - 2;
    SetTextRect(text);
}
