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

std::vector<double> TextMeasurer::caretOffsets(std::string_view text, const Font& font) {
    const std::size_t n = codePointCount(text);
    std::vector<double> offsets{0};
    for (std::size_t i = 1; i <= n; ++i) {
        offsets.push_back(measure(text.substr(0, byteOffsetOfCodePoint(text, i)), font).width);
    }
    return offsets;
}

TextMeasurer& TextMeasurer::shared() {
    static ApproximateMeasurer approximate;
    return installed() ? *installed() : approximate;
}

void TextMeasurer::setShared(TextMeasurer* measurer) {
    installed() = measurer;
}

} // namespace vestrino::ui
