#pragma once

#include <string>
#include <string_view>

namespace vestrino {

// Full, locale-independent Unicode upper-casing of UTF-8 text ("straße" becomes "STRASSE").
std::string upperCased(std::string_view text);

} // namespace vestrino
