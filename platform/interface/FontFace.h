// The metrics of one font file as FreeType reads them, found through
// fontconfig and loaded once per process. Faces are shared by every BFont and
// live as long as the process; each is named by a small number. A face whose
// file cannot be read estimates its metrics instead, so measuring never fails.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <vector>

class FontFace {
public:
    // The face fontconfig picks for a family ("sans-serif", "DejaVu Sans")
    // and style ("Regular", "Bold", "Italic").
    static int32 Match(const char* family, const char* style);
    // The face of one font file.
    static int32 Open(const char* path);

    struct Info {
        std::string file;   // empty when estimating
        int index = 0;      // the face within the file
        std::string family; // as the file names it
        std::string style;
    };
    static Info Describe(int32 face);

    // Widths in pixels at `size` (pixels per em) of each UTF-8 character of
    // the first `length` bytes of `text`, with the bytes each one takes. A
    // character's advance is rounded to whole pixels, as the X font renderer
    // lays out text.
    struct Piece {
        int32 bytes;
        float width;
        uint32 code; // the character (U+FFFD for a broken sequence)
    };
    static void Measure(
        int32 face, const char* text, size_t length, float size, std::vector<Piece>& pieces);
    static float Width(int32 face, const char* text, size_t length, float size);
    // Ascent, descent and leading in pixels at `size`.
    static void Height(int32 face, float size, float& ascent, float& descent, float& leading);
};
