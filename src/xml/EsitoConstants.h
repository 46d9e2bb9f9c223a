#pragma once

namespace vestrino {

// The outcome words of a reply's `esito` element.
inline constexpr const char* ESITO_OK_STR = "OK";
inline constexpr const char* ESITO_KO_STR = "KO";

} // namespace vestrino
