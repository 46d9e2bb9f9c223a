#pragma once

#include <string_view>

namespace vestrino {

// A look at a binary property list before libplist reads it: true when its object table is in
// bounds and no string (dictionary keys included) holds a NUL character. libplist 2.2 aborts
// the process on a key with an embedded NUL, so such files must never reach it.
bool binaryPlistIsSafeToRead(std::string_view bytes);

} // namespace vestrino
