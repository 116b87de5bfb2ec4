#include "LibTipWin.h"

#include "LibTipString.h"

namespace {

constexpr uint32 kTipFlags
    = B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_AVOID_FOCUS | B_NOT_MINIMIZABLE;
constexpr float kOneLineHeight = 13;

} // namespace

LibTipWin::LibTipWin()
    : LibWindow(BRect(0, 0, 100, 13), "LibTipWin", B_BORDERED_WINDOW_LOOK,
        B_FLOATING_APP_WINDOW_FEEL, kTipFlags, B_CURRENT_WORKSPACE)
    , fText(new LibTipString(Bounds()))
{
    AddChild(fText);
    // A hidden tip has no time running; showing one sets it.
    SetPulseRate(0);
}

LibTipWin::~LibTipWin() = default;

// The text is laid out at its wrap width (one line: unbounded) before the
// lines are counted, so that the window is as tall as the lines it shows;
// the text view does not follow the window's frame by itself.
void LibTipWin::SetText(const char* text, const long& width)
{
    if (!Lock())
        return;
    BRect rect = fText->TextRect();
    if (width >= 1)
        rect.right = rect.left + float(width);
    else
        rect.right = 32768;
    fText->SetTextRect(rect);
    fText->SetText(text != nullptr ? text : "");
    if (width >= 1) {
        ResizeTo(float(width) + 3, float(fText->CountLines()) * fText->LineHeight(0) + 2);
    } else {
        BFont font;
        fText->GetFontAndColor(&font, nullptr);
        ResizeTo(font.StringWidth(fText->Text()) + 3, kOneLineHeight);
    }
    Unlock();
}

void LibTipWin::PopTo(const BPoint& where, const int& placement)
{
    MoveTo(where);
    fPlacement = placement;
}

void LibTipWin::Hide()
{
    SetPulseRate(0);
    LibWindow::Hide();
}

void LibTipWin::WindowActivated(bool active)
{
    LibWindow::WindowActivated(active);
    if (!active)
        Hide();
}
