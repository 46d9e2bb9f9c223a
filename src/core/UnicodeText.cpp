#include "core/UnicodeText.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace vestrino {

namespace {

// Calls `f(start, end, codePoint)` for each code point; a malformed sequence is a negative
// code point.
template <typename F> void forEachCodePoint(std::string_view text, F f) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (!f(static_cast<std::size_t>(start), static_cast<std::size_t>(i), c)) {
            return;
        }
    }
}

} // namespace

std::string trimWhitespaceAndNewlines(std::string_view text) {
    std::size_t first = text.size(), last = 0;
    forEachCodePoint(text, [&](std::size_t start, std::size_t end, UChar32 c) {
        if (c < 0 || !u_isUWhiteSpace(c)) {
            first = std::min(first, start);
            last = end;
        }
        return true;
    });
    return first >= last ? std::string() : std::string(text.substr(first, last - first));
}

bool allDecimalDigits(std::string_view text) {
    bool digits = true;
    forEachCodePoint(text, [&](std::size_t, std::size_t, UChar32 c) {
        digits = c >= 0 && u_charType(c) == U_DECIMAL_DIGIT_NUMBER;
        return digits;
    });
    return digits;
}

} // namespace vestrino
