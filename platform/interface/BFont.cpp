#include "BFont.h"

#include "FontFace.h"
#include "UiScale.h"

#include <cstring>
#include <vector>

namespace {

constinit const BFont kPlainFont("sans-serif", "Regular", 10);
constinit const BFont kBoldFont("sans-serif", "Bold", 12);
constinit const BFont kFixedFont("monospace", "Regular", 12);

void CopyName(char* target, const char* name, size_t size)
{
    strncpy(target, name != nullptr ? name : "", size - 1);
    target[size - 1] = '\0';
}

// How many characters to keep at the front and at the back.
struct Kept {
    size_t front;
    size_t back;
};

Kept Split(size_t count, uint32 mode)
{
    switch (mode) {
    case B_TRUNCATE_END:
        return {count, 0};
    case B_TRUNCATE_BEGINNING:
        return {0, count};
    default:
        return {(count + 1) / 2, count / 2};
    }
}

} // namespace

const BFont* be_plain_font = &kPlainFont;
const BFont* be_bold_font = &kBoldFont;
const BFont* be_fixed_font = &kFixedFont;

BFont::BFont()
    : BFont(&kPlainFont)
{ }

BFont::BFont(const BFont* font)
{
    if (font != nullptr)
        *this = *font;
}

void BFont::SetSize(float size)
{
    if (size > 0 && size < 10000)
        fSize = size;
}

status_t BFont::SetFamilyAndStyle(const char* family, const char* style)
{
    if (family == nullptr && style == nullptr)
        return B_BAD_VALUE;
    if (family != nullptr)
        CopyName(fFamily, family, sizeof(fFamily));
    if (style != nullptr)
        CopyName(fStyle, style, sizeof(fStyle));
    fFace = -1;
    return B_OK;
}

void BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
    if (family != nullptr)
        memcpy(*family, fFamily, sizeof(fFamily));
    if (style != nullptr)
        memcpy(*style, fStyle, sizeof(fStyle));
}

std::string BFont::FontFile() const
{
    return FontFace::Describe(Face()).file;
}

std::string BFont::ResolvedFamily() const
{
    return FontFace::Describe(Face()).family;
}

void BFont::SetFontFile(const char* path)
{
    fFace = FontFace::Open(path);
}

void BFont::SetFixedAdvance(float advance)
{
    fFixedAdvance = advance > 0 ? advance : 0;
}

float BFont::StringWidth(const char* string) const
{
    return string != nullptr ? StringWidth(string, INT32_MAX) : 0;
}

float BFont::StringWidth(const char* string, int32 length) const
{
    if (string == nullptr || length <= 0)
        return 0;
    float scale = DeviceScale();
    std::vector<FontFace::Piece> pieces;
    FontFace::Measure(Face(), string, size_t(length), fSize * scale, pieces);
    float width = 0;
    for (const FontFace::Piece& piece : pieces)
        width += fFixedAdvance > 0 ? fFixedAdvance * scale : piece.width;
    return width / scale;
}

void BFont::GetHeight(font_height* height) const
{
    if (height != nullptr)
        FontFace::Height(Face(), fSize, height->ascent, height->descent, height->leading);
}

void BFont::GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode,
    float width, char* resultArray[]) const
{
    if (stringArray == nullptr || resultArray == nullptr)
        return;
    for (int32 i = 0; i < numStrings; i++) {
        if (resultArray[i] == nullptr)
            continue;
        std::string text = stringArray[i] != nullptr ? stringArray[i] : "";
        TruncateString(&text, mode, width);
        memcpy(resultArray[i], text.c_str(), text.size() + 1);
    }
}

// Keeps as many whole characters as fit beside the ellipsis: from the front,
// the back or both ends, as `mode` says. When not even the ellipsis fits the
// result is empty.
void BFont::TruncateString(std::string* text, uint32 mode, float width) const
{
    if (text == nullptr)
        return;
    float scale = DeviceScale();
    std::vector<FontFace::Piece> pieces;
    FontFace::Measure(Face(), text->c_str(), text->size(), fSize * scale, pieces);
    for (FontFace::Piece& piece : pieces)
        piece.width = fFixedAdvance > 0 ? fFixedAdvance : piece.width / scale;
    float total = 0;
    for (const FontFace::Piece& piece : pieces)
        total += piece.width;
    if (total <= width)
        return;
    float room = width - StringWidth(B_UTF8_ELLIPSIS);
    for (size_t count = pieces.size(); count-- > 0;) {
        Kept kept = Split(count, mode);
        float used = 0;
        size_t frontBytes = 0;
        size_t backBytes = 0;
        for (size_t i = 0; i < kept.front; i++) {
            used += pieces[i].width;
            frontBytes += size_t(pieces[i].bytes);
        }
        for (size_t i = pieces.size() - kept.back; i < pieces.size(); i++) {
            used += pieces[i].width;
            backBytes += size_t(pieces[i].bytes);
        }
        if (used <= room) {
            *text = text->substr(0, frontBytes) + B_UTF8_ELLIPSIS
                + text->substr(text->size() - backBytes);
            return;
        }
    }
    text->clear();
}

float BFont::DeviceScale() const
{
    return ui_scale();
}

// A fixed advance needs no font file at all: the estimating face (-1) only
// splits the text into characters.
int32 BFont::Face() const
{
    if (fFixedAdvance > 0)
        return -1;
    return fFace >= 0 ? fFace : FontFace::Match(fFamily, fStyle);
}
