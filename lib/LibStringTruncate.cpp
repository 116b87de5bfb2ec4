// LibString: shortening a text to a width on the screen.
#include "LibString.h"

#include "BFont.h"
#include "BRect.h"

#include <vector>

// Tries ever shorter fronts of the text with "..." behind them. Cuts fall
// between whole UTF-8 characters, so no character is ever shown half.
int32 LibString::Truncate(const BFont& font, const int& width, BRect& rect)
{
    int32 length = Length();
    if (length == 0 || int32(font.StringWidth(fBuffer)) < width)
        return length;
    std::vector<int32> starts;
    for (int32 at = 0; at < length;
         at += lib_utf8_char_length(static_cast<unsigned char>(fBuffer[at])))
        starts.push_back(at);
    LibString full(*this);
    int32 kept = length;
    for (size_t count = starts.size() - 1; count >= 1; count--) {
        kept = starts[count];
        Assign(full.fBuffer, kept);
        Concat("...");
        if (count == 1 || int32(font.StringWidth(fBuffer)) < width)
            break;
    }
    rect.left = 0;
    rect.right = font.StringWidth(full.fBuffer, kept);
    return length - kept;
}
