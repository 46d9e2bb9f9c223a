#include "core/UnicodeText.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>

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

std::vector<std::size_t> graphemeEnds(std::string_view text, std::size_t most) {
    std::vector<std::size_t> ends;
    if (text.empty() || most == 0) {
        return ends;
    }
    // ASCII text, most of what the screens show, needs no break rules: every character is its
    // own cluster but CR LF. Leaving ICU's rules unloaded keeps their data out of memory until a
    // text needs them.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (std::size_t i = 1; ends.size() < most && i <= text.size(); ++i) {
            if (i == text.size() || !(text[i - 1] == '\r' && text[i] == '\n')) {
                ends.push_back(i);
            }
        }
        return ends;
    }
    // ICU's character break rules over the UTF-8 bytes as they are: for UTF-8 text its indices
    // are byte offsets.
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, decltype(&utext_close)> utext(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status),
        &utext_close);
    std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> breaks(
        ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status), &ubrk_close);
    if (U_SUCCESS(status)) {
        ubrk_setUText(breaks.get(), utext.get(), &status);
    }
    if (U_FAILURE(status)) {
        // No break rules: whole code points are the next best thing.
        for (std::size_t i = 1; ends.size() < most && i <= text.size(); ++i) {
            if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                ends.push_back(i);
            }
        }
        return ends;
    }
    std::size_t start = 0;
    while (ends.size() < most) {
        const int32_t next = ubrk_next(breaks.get());
        if (next == UBRK_DONE) {
            break;
        }
        const auto end = static_cast<std::size_t>(next);
        // A cluster with more code points than any script needs is taken in pieces of
        // kMaxClusterCodePoints.
        while (start < end && ends.size() < most) {
            std::size_t piece = end;
            std::size_t counted = 0;
            forEachCodePoint(text.substr(start, end - start),
                             [&](std::size_t, std::size_t e, UChar32) {
                                 piece = start + e;
                                 return ++counted < kMaxClusterCodePoints;
                             });
            ends.push_back(piece);
            start = piece;
        }
    }
    return ends;
}

} // namespace vestrino
