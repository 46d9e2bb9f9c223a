#include "ui/sdl/SdlFonts.h"

#include <cmath>
#include <fontconfig/fontconfig.h>
#include <stdexcept>

namespace vestrino::ui {

std::string SdlFonts::findFontFile(const std::string& pattern) {
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (!p) {
        return {};
    }
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(p);
    return file;
}

SdlFonts::SdlFonts(double scale) : scale_(scale) {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        throw std::runtime_error(std::string("SDL_ttf cannot start: ") + TTF_GetError());
    }
    regular_ = findFontFile("Liberation Sans:regular");
    bold_ = findFontFile("Liberation Sans:bold");
    // Only the two file names are needed: fontconfig's library state goes again.
    FcFini();
    if (regular_.empty() || bold_.empty()) {
        throw std::runtime_error("fontconfig finds no Liberation Sans (install fonts-liberation2)");
    }
    TextMeasurer::setShared(this);
}

SdlFonts::~SdlFonts() {
    if (&TextMeasurer::shared() == this) {
        TextMeasurer::setShared(nullptr);
    }
    for (auto& [key, font] : open_) {
        TTF_CloseFont(font);
    }
}

TTF_Font* SdlFonts::ttf(const Font& font) {
    const int pixels = std::max(1, static_cast<int>(std::lround(font.size * scale_)));
    const auto key = std::make_pair(font.bold(), pixels);
    if (const auto it = open_.find(key); it != open_.end()) {
        return it->second;
    }
    TTF_Font* f = TTF_OpenFont((font.bold() ? bold_ : regular_).c_str(), pixels);
    if (f) {
        open_[key] = f;
    }
    return f;
}

Size SdlFonts::measure(std::string_view text, const Font& font) {
    TTF_Font* f = ttf(font);
    if (!f) {
        return {};
    }
    int w = 0, h = 0;
    const std::string s(text);
    TTF_SizeUTF8(f, s.c_str(), &w, &h);
    return {w / scale_, h / scale_};
}

std::vector<double> SdlFonts::caretOffsets(std::string_view text, const Font& font) {
    TTF_Font* f = ttf(font);
    if (!f) {
        return TextMeasurer::caretOffsets(text, font);
    }
    std::vector<double> offsets{0};
    int x = 0;
    Uint32 previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        // Well-formed UTF-8 (the fields hold nothing else): the lead byte gives the length.
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        Uint32 ch = n == 1 ? lead : lead & (0x3F >> (n - 1));
        for (std::size_t k = 1; k < n && i + k < text.size(); ++k) {
            ch = (ch << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += n;
        if (previous != 0) {
            x += TTF_GetFontKerningSizeGlyphs32(f, previous, ch);
        }
        int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
        if (TTF_GlyphMetrics32(f, ch, &minX, &maxX, &minY, &maxY, &advance) == 0) {
            x += advance;
        }
        previous = ch;
        offsets.push_back(x / scale_);
    }
    return offsets;
}

double SdlFonts::lineHeight(const Font& font) {
    TTF_Font* f = ttf(font);
    return f ? TTF_FontLineSkip(f) / scale_ : font.size * 1.2;
}

} // namespace vestrino::ui
