#include "FontFace.h"

#include "FontLibraries.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// Without a font: every character 0.6 em wide, about an average sans-serif
// letter, with the usual ascent and descent.
constexpr float kEstimatedAdvance = 0.6f;
constexpr float kEstimatedAscent = 0.8f;
constexpr float kEstimatedDescent = 0.2f;

struct Face {
    FT_Face face = nullptr;
    FontFace::Info info;
    float ascent = kEstimatedAscent; // all in em
    float descent = kEstimatedDescent;
    float leading = 0;
    std::unordered_map<uint32, float> advances;

    float Advance(uint32 code)
    {
        if (face == nullptr)
            return kEstimatedAdvance;
        auto known = advances.find(code);
        if (known != advances.end())
            return known->second;
        const FontLibraries* fonts = FontLibraries::Get();
        FT_Fixed units = 0;
        float advance = kEstimatedAdvance;
        if (fonts->ft_advance(face, fonts->ft_char_index(face, code), FT_LOAD_NO_SCALE, &units)
            == 0)
            advance = float(units) / float(face->units_per_EM);
        advances.emplace(code, advance);
        return advance;
    }
};

class Faces {
public:
    ~Faces()
    {
        const FontLibraries* fonts = FontLibraries::Get();
        for (auto& face : fFaces) {
            if (face->face != nullptr)
                fonts->ft_done_face(face->face);
        }
        if (fLibrary != nullptr)
            fonts->ft_done(fLibrary);
    }

    std::mutex lock;

    int32 Match(const std::string& family, const std::string& style)
    {
        std::string key = family + '\n' + style;
        auto known = fMatches.find(key);
        if (known != fMatches.end())
            return known->second;
        int index = 0;
        std::string file = MatchFile(family, style, index);
        int32 id = Load(file, index);
        fMatches.emplace(key, id);
        return id;
    }

    int32 Load(const std::string& file, int index)
    {
        auto face = std::make_unique<Face>();
        const FontLibraries* fonts = FontLibraries::Get();
        if (!file.empty() && Library() != nullptr
            && fonts->ft_new_face(fLibrary, file.c_str(), index, &face->face) != 0)
            face->face = nullptr;
        FT_Face ft = face->face;
        if (ft != nullptr && (!FT_IS_SCALABLE(ft) || ft->units_per_EM == 0)) {
            fonts->ft_done_face(ft);
            face->face = ft = nullptr;
        }
        if (ft != nullptr) {
            float em = float(ft->units_per_EM);
            face->info.file = file;
            face->info.index = index;
            face->info.family = ft->family_name != nullptr ? ft->family_name : "";
            face->info.style = ft->style_name != nullptr ? ft->style_name : "";
            face->ascent = float(ft->ascender) / em;
            face->descent = float(-ft->descender) / em;
            face->leading = std::max(0.0f, float(ft->height) / em - face->ascent - face->descent);
        }
        fFaces.push_back(std::move(face));
        return int32(fFaces.size() - 1);
    }

    Face& Get(int32 id)
    {
        if (id < 0 || size_t(id) >= fFaces.size()) {
            if (fFallback < 0)
                fFallback = Load("", 0);
            id = fFallback;
        }
        return *fFaces[size_t(id)];
    }

private:
    FT_Library Library()
    {
        const FontLibraries* fonts = FontLibraries::Get();
        if (fonts == nullptr)
            return nullptr;
        if (fLibrary == nullptr && !fLibraryFailed && fonts->ft_init(&fLibrary) != 0) {
            fLibrary = nullptr;
            fLibraryFailed = true;
        }
        return fLibrary;
    }

    static std::string MatchFile(const std::string& family, const std::string& style, int& index)
    {
        const FontLibraries* fonts = FontLibraries::Get();
        if (fonts == nullptr || !fonts->fc_init())
            return "";
        FcPattern* pattern = fonts->fc_pattern_create();
        if (pattern == nullptr)
            return "";
        fonts->fc_add_string(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        if (!style.empty() && style != "Roman" && style != "Regular")
            fonts->fc_add_string(
                pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
        if (style.find("Bold") != std::string::npos)
            fonts->fc_add_integer(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
        if (style.find("Italic") != std::string::npos || style.find("Oblique") != std::string::npos)
            fonts->fc_add_integer(pattern, FC_SLANT, FC_SLANT_ITALIC);
        fonts->fc_add_bool(pattern, FC_SCALABLE, FcTrue);
        fonts->fc_config_substitute(nullptr, pattern, FcMatchPattern);
        fonts->fc_default_substitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = fonts->fc_font_match(nullptr, pattern, &result);
        fonts->fc_pattern_destroy(pattern);
        std::string file;
        FcChar8* path = nullptr;
        if (match != nullptr && fonts->fc_get_string(match, FC_FILE, 0, &path) == FcResultMatch
            && path != nullptr) {
            file = reinterpret_cast<const char*>(path);
            if (fonts->fc_get_integer(match, FC_INDEX, 0, &index) != FcResultMatch)
                index = 0;
        }
        if (match != nullptr)
            fonts->fc_pattern_destroy(match);
        return file;
    }

    FT_Library fLibrary = nullptr;
    bool fLibraryFailed = false;
    std::vector<std::unique_ptr<Face>> fFaces;
    std::map<std::string, int32> fMatches;
    int32 fFallback = -1;
};

Faces& AllFaces()
{
    static Faces faces;
    return faces;
}

// The code point of the UTF-8 character at `text`, of at most `available`
// bytes; `bytes` receives its length (the lead byte's count of leading ones,
// at least 2 for a byte from 0x80 on). Broken sequences read as U+FFFD.
uint32 Decode(const unsigned char* text, size_t available, int32& bytes)
{
    unsigned char lead = text[0];
    if (lead < 0x80) {
        bytes = 1;
        return lead;
    }
    int32 ones = 0;
    while (ones < 8 && (lead & (0x80 >> ones)) != 0)
        ones++;
    int32 length = ones < 2 ? 2 : ones;
    bytes = int32(std::min(size_t(length), available));
    if (ones < 2 || ones > 4 || bytes < length)
        return 0xFFFD;
    uint32 code = lead & (0x7F >> ones);
    for (int32 i = 1; i < length; i++) {
        if ((text[i] & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (text[i] & 0x3F);
    }
    return code;
}

} // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STOW_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define STOW_ADDRESS_SANITIZER 1
#endif

#ifdef STOW_ADDRESS_SANITIZER
// Fontconfig's configuration parser loses one small block per process; that
// is not ours to report.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

int32 FontFace::Match(const char* family, const char* style)
{
    Faces& faces = AllFaces();
    std::lock_guard<std::mutex> hold(faces.lock);
    return faces.Match(family != nullptr ? family : "", style != nullptr ? style : "");
}

int32 FontFace::Open(const char* path)
{
    Faces& faces = AllFaces();
    std::lock_guard<std::mutex> hold(faces.lock);
    return faces.Load(path != nullptr ? path : "", 0);
}

FontFace::Info FontFace::Describe(int32 id)
{
    Faces& faces = AllFaces();
    std::lock_guard<std::mutex> hold(faces.lock);
    return faces.Get(id).info;
}

void FontFace::Measure(
    int32 id, const char* text, size_t length, float size, std::vector<Piece>& pieces)
{
    pieces.clear();
    if (text == nullptr)
        return;
    length = strnlen(text, length);
    Faces& faces = AllFaces();
    std::lock_guard<std::mutex> hold(faces.lock);
    Face& face = faces.Get(id);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t at = 0; at < length;) {
        int32 count = 0;
        uint32 code = Decode(bytes + at, length - at, count);
        pieces.push_back({count, std::round(face.Advance(code) * size), code});
        at += size_t(count);
    }
}

float FontFace::Width(int32 id, const char* text, size_t length, float size)
{
    std::vector<Piece> pieces;
    Measure(id, text, length, size, pieces);
    float width = 0;
    for (const Piece& piece : pieces)
        width += piece.width;
    return width;
}

void FontFace::Height(int32 id, float size, float& ascent, float& descent, float& leading)
{
    Faces& faces = AllFaces();
    std::lock_guard<std::mutex> hold(faces.lock);
    Face& face = faces.Get(id);
    ascent = face.ascent * size;
    descent = face.descent * size;
    leading = face.leading * size;
}
