#pragma once

#include <string>
#include <string_view>

namespace vestrino {

enum class StringEncoding { UTF8 };

// Percent-encoding of a form value: ASCII letters, digits and - . _ ~ stay as they are; every
// other character becomes its bytes in the given encoding, each written %XX in upper case.
std::string urlEncodeUsingEncoding(std::string_view text,
                                   StringEncoding encoding = StringEncoding::UTF8);

} // namespace vestrino
