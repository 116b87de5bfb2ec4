#include "LibStringView.h"

#include <string>

LibStringView::LibStringView(BRect frame, const char* name, const char* text)
    : BStringView(frame, name, text, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW)
{ }

void LibStringView::SetTruncatedText(const char* text, const unsigned long& mode)
{
    std::string shortened = text != nullptr ? text : "";
    BFont font;
    GetFont(&font);
    font.TruncateString(&shortened, uint32(mode), Frame().Width());
    SetText(shortened.c_str());
}

void LibStringView::Show()
{
    if (IsHidden())
        BStringView::Show();
}

void LibStringView::Hide()
{
    if (!IsHidden())
        BStringView::Hide();
}
