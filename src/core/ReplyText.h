#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The text a service reply hands to the parsers: the body bytes read as UTF-8, then every
// no-break space removed. Bytes that are not UTF-8 give no text.
std::optional<std::string> decodeReplyText(std::string_view body);

} // namespace vestrino
