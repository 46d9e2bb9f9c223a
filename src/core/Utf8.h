#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool isValidUtf8(std::string_view bytes);

// The bytes as text when they are well-formed UTF-8, absent otherwise.
std::optional<std::string> utf8Text(std::string_view bytes);

// Number of code points in well-formed UTF-8 text (lengths on screen and in tables).
std::size_t codePointCount(std::string_view text);

// Byte offset where code point `index` starts in well-formed UTF-8 text (its size when it has
// fewer code points).
std::size_t byteOffsetOfCodePoint(std::string_view text, std::size_t index);
// The first `n` code points of well-formed UTF-8 text (all of it when it is shorter).
std::string firstCodePoints(std::string_view text, std::size_t n);
// The last `n` code points of well-formed UTF-8 text (all of it when it is shorter).
std::string lastCodePoints(std::string_view text, std::size_t n);

} // namespace vestrino
