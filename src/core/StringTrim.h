#pragma once

#include <string>
#include <string_view>

namespace vestrino {

// The text with every no-break space (U+00A0) removed, wherever it stands; every other
// character, white space included, is kept.
std::string trimNBSP(std::string_view text);

// The text without leading (ltrim) or trailing (rtrim) ASCII white space.
std::string ltrim(std::string_view text);
std::string rtrim(std::string_view text);

} // namespace vestrino
