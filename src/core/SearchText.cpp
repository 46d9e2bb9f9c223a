#include "core/SearchText.h"

#include "core/Utf8.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace vestrino {

std::string foldedForSearch(std::string_view text) {
    // ASCII needs only lower-casing: the common case of the service's texts, without the
    // round trip through UTF-16.
    bool ascii = true;
    for (const char c : text) {
        ascii = ascii && (c & 0x80) == 0;
    }
    if (ascii) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const auto source = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::UnicodeString decomposed = U_SUCCESS(status) ? nfd->normalize(source, status) : source;
    if (U_FAILURE(status)) {
        decomposed = source;
    }
    icu::UnicodeString bare;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) {
            bare.append(c);
        }
        i += U16_LENGTH(c);
    }
    bare.foldCase();
    std::string out;
    bare.toUTF8String(out);
    return out;
}

std::optional<FoldedMatch> findFolded(std::string_view text, std::string_view query) {
    if (query.empty()) {
        return std::nullopt;
    }
    // Folding may change lengths (ß, accents), so the match is found on whole code points: the
    // shortest start of the text whose folding holds the query ends the first match, and the
    // shortest end of that start that still holds it begins it.
    const std::size_t n = codePointCount(text);
    auto part = [&](std::size_t from, std::size_t to) {
        const std::size_t a = byteOffsetOfCodePoint(text, from);
        return foldedForSearch(text.substr(a, byteOffsetOfCodePoint(text, to) - a));
    };
    std::optional<std::size_t> to;
    for (std::size_t end = 1; end <= n && !to; ++end) {
        if (part(0, end).find(query) != std::string::npos) {
            to = end;
        }
    }
    if (!to) {
        return std::nullopt;
    }
    std::size_t from = 0;
    while (from + 1 < *to && part(from + 1, *to).find(query) != std::string::npos) {
        ++from;
    }
    return FoldedMatch{from, *to};
}

std::string excerptAround(std::string_view text, const FoldedMatch& match) {
    constexpr std::size_t kMostBefore = 12;
    // Back to the start of the word, but not further than a few characters.
    std::size_t from = match.from;
    const std::string before = firstCodePoints(text, match.from);
    const std::size_t space = before.rfind(' ');
    const std::size_t wordStart =
        space == std::string::npos ? 0 : codePointCount(before.substr(0, space + 1));
    if (match.from - wordStart <= kMostBefore) {
        from = wordStart;
    }
    if (from == 0) {
        return std::string(text);
    }
    return "\u2026" + std::string(text.substr(byteOffsetOfCodePoint(text, from)));
}

} // namespace vestrino
