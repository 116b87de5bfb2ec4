// A slim bar that fills from the left as the bytes of a run arrive; it shows
// no text, so it fits under a status line.
#pragma once

#include "BView.h"

class ByteProgressBar : public BView {
public:
    ByteProgressBar(BRect frame, const char* name);

    // `done` of `total` bytes; a total of 0 shows an empty bar.
    void SetProgress(uint64 done, uint64 total);
    float Fraction() const { return fFraction; }

    void Draw(BRect updateRect) override;

private:
    float fFraction = 0;
};
