#include "core/SearchText.h"

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

} // namespace vestrino
