#include "core/UpperCase.h"

#include <algorithm>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace vestrino {

std::string upperCased(std::string_view text) {
    // ASCII maps to ASCII under the root locale's rules, and most service texts are ASCII:
    // skip the round trip through UTF-16 for them.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return out;
    }
    auto u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    u.toUpper(icu::Locale::getRoot());
    std::string out;
    u.toUTF8String(out);
    return out;
}

} // namespace vestrino
