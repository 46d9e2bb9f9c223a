#include "ui/Font.h"

#include "core/Utf8.h"

namespace vestrino::ui {

namespace {

// Without a font engine (unit tests of layout): 0.55 em a character, 1.2 em a line.
class ApproximateMeasurer : public TextMeasurer {
public:
    Size measure(std::string_view text, const Font& font) override {
        return {static_cast<double>(codePointCount(text)) * font.size * 0.55, lineHeight(font)};
    }
    double lineHeight(const Font& font) override { return font.size * 1.2; }
};

TextMeasurer*& installed() {
    static TextMeasurer* measurer = nullptr;
    return measurer;
}

} // namespace

TextMeasurer& TextMeasurer::shared() {
    static ApproximateMeasurer approximate;
    return installed() ? *installed() : approximate;
}

void TextMeasurer::setShared(TextMeasurer* measurer) {
    installed() = measurer;
}

} // namespace vestrino::ui
