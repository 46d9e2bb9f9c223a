#pragma once

#include <string>
#include <string_view>

namespace vestrino {

// The text without the Unicode white space (line breaks included) at both ends.
std::string trimWhitespaceAndNewlines(std::string_view text);

// True when every character of well-formed UTF-8 text is a decimal digit of any script (the
// Unicode decimal-digit set: "0"–"9", "٣", "７", …); true for the empty text.
bool allDecimalDigits(std::string_view text);

} // namespace vestrino
