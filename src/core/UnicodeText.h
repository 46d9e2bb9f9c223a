#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino {

// The text without the Unicode white space (line breaks included) at both ends.
std::string trimWhitespaceAndNewlines(std::string_view text);

// True when every character of well-formed UTF-8 text is a decimal digit of any script (the
// Unicode decimal-digit set: "0"–"9", "٣", "７", …); true for the empty text.
bool allDecimalDigits(std::string_view text);

// Byte offsets where each of the first `most` user-perceived characters (extended grapheme
// clusters: a letter with its accents, an emoji with its modifiers, a flag's two letters) of
// well-formed UTF-8 text ends; fewer when the text has fewer. Cutting text at one of these never
// splits a character a person sees as one. A cluster of more than kMaxClusterCodePoints code
// points (no writing system needs that many; hostile text can have millions) ends there.
std::vector<std::size_t> graphemeEnds(std::string_view text, std::size_t most);
inline constexpr std::size_t kMaxClusterCodePoints = 32;

} // namespace vestrino
