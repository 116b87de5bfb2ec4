// A font for measuring and shortening text: family, style and size, with the
// widths of the font file fontconfig picks for it (read with FreeType). The
// windows draw with the same family, so measured widths match the screen.
//
// Sizes are in points at 72 dots per inch, one point to a pixel, the layout
// unit of the windows. The system fonts are fontconfig's "sans-serif" (plain,
// 10 points; bold, 12 points) and "monospace" (12 points). Without any
// installed font, widths are estimated instead.
#pragma once

#include "SupportDefs.h"

#include <string>

constexpr int32 B_FONT_FAMILY_LENGTH = 63;
typedef char font_family[B_FONT_FAMILY_LENGTH + 1];
constexpr int32 B_FONT_STYLE_LENGTH = 63;
typedef char font_style[B_FONT_STYLE_LENGTH + 1];

struct font_height {
    float ascent;
    float descent;
    float leading;
};

// Where GetTruncatedStrings takes characters out.
enum : uint32 {
    B_TRUNCATE_END = 0,
    B_TRUNCATE_BEGINNING = 1,
    B_TRUNCATE_MIDDLE = 2,
    B_TRUNCATE_SMART = 3, // like the middle: both ends of a name stay readable
};

// The ellipsis that marks shortened text (U+2026).
#define B_UTF8_ELLIPSIS "\xE2\x80\xA6"

class BFont {
public:
    BFont(); // the plain system font
    BFont(const BFont* font);
    constexpr BFont(const char* family, const char* style, float size)
        : fSize(size)
    {
        for (int32 i = 0; family != nullptr && family[i] != '\0' && i < B_FONT_FAMILY_LENGTH; i++)
            fFamily[i] = family[i];
        for (int32 i = 0; style != nullptr && style[i] != '\0' && i < B_FONT_STYLE_LENGTH; i++)
            fStyle[i] = style[i];
    }

    void SetSize(float size);
    float Size() const { return fSize; }
    // Degrees counter-clockwise; 90 writes upward. Measures do not change.
    void SetRotation(float rotation) { fRotation = rotation; }
    float Rotation() const { return fRotation; }
    status_t SetFamilyAndStyle(const char* family, const char* style);
    // The names as given ("sans-serif"), not as resolved.
    void GetFamilyAndStyle(font_family* family, font_style* style) const;

    // The file that measures this font, with its own family and style names;
    // an empty file when widths are estimated.
    std::string FontFile() const;
    std::string ResolvedFamily() const;
    // Measures with this font file rather than the fontconfig match (a font
    // shipped with a program, tests). An unreadable file means estimates.
    void SetFontFile(const char* path);
    // Every character `advance` pixels wide, measured without any font file
    // (heights are estimated): fixed layouts and tests. 0 returns to the
    // font's own metrics.
    void SetFixedAdvance(float advance);

    float StringWidth(const char* string) const;
    // The width of the first `length` bytes.
    float StringWidth(const char* string, int32 length) const;
    void GetHeight(font_height* height) const;

    // Shortens each string to at most `width` pixels by replacing characters
    // with an ellipsis, where `mode` says. Every result buffer needs room for
    // its string's length + 3 bytes. A string that fits is copied as it is.
    void GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode, float width,
        char* resultArray[]) const;
    void TruncateString(std::string* text, uint32 mode, float width) const;

private:
    friend class BView;

    int32 Face() const;
    // Measures in device pixels at the display's scale, so that points
    // measured here are exactly what the windows draw.
    float DeviceScale() const;

    font_family fFamily = {};
    font_style fStyle = {};
    float fSize = 10;
    float fRotation = 0;
    float fFixedAdvance = 0;
    int32 fFace = -1; // a font file set directly, or -1 to match the names
};

extern const BFont* be_plain_font;
extern const BFont* be_bold_font;
extern const BFont* be_fixed_font;
