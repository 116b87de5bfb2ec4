// A string view that shortens its text to its width, and whose Show and
// Hide do not stack.
#pragma once

#include "BStringView.h"

class LibStringView : public BStringView {
public:
    LibStringView(BRect frame, const char* name, const char* text);

    // Shows `text` shortened to the view's width in its font, with an
    // ellipsis where `mode` (B_TRUNCATE_*) says.
    void SetTruncatedText(const char* text, const unsigned long& mode);
    void Show() override;
    void Hide() override;
};
