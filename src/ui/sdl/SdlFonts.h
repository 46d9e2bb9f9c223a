#pragma once

#include "ui/Font.h"

#include <SDL2/SDL_ttf.h>
#include <map>
#include <memory>
#include <string>

namespace vestrino::ui {

// The UI fonts through SDL_ttf: Liberation Sans (regular and bold, found with fontconfig)
// stands in for Helvetica Neue, opened at the point size times the screen scale. Measures in
// points; the one measuring function of the views while it lives.
class SdlFonts : public TextMeasurer {
public:
    explicit SdlFonts(double scale);
    ~SdlFonts() override;
    SdlFonts(const SdlFonts&) = delete;
    SdlFonts& operator=(const SdlFonts&) = delete;

    Size measure(std::string_view text, const Font& font) override;
    double lineHeight(const Font& font) override;
    // One pass over the glyphs' advances and the kerning between them.
    std::vector<double> caretOffsets(std::string_view text, const Font& font) override;
    // The font at the screen's pixel size (nothing when no font file is found).
    TTF_Font* ttf(const Font& font);
    double scale() const { return scale_; }

    // The font file fontconfig finds for the pattern ("Liberation Sans:bold").
    static std::string findFontFile(const std::string& pattern);

private:
    double scale_;
    std::string regular_, bold_;
    std::map<std::pair<bool, int>, TTF_Font*> open_;
};

} // namespace vestrino::ui
