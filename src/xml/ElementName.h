#pragma once

#include <cstring>

namespace vestrino {

// Exact, case-sensitive comparison of an element's local name with a parser's constant. The
// first-byte test settles most mismatches without a call: parsers test a dozen names per tag.
inline bool isElement(const char* name, const char* constant) {
    return name[0] == constant[0] && std::strcmp(name, constant) == 0;
}

} // namespace vestrino
