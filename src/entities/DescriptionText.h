#pragma once

#include "core/Date.h"

#include <optional>
#include <string>

namespace vestrino {

// How the records' log lines write their values: absent as "(null)", dates in UTC as
// "yyyy-MM-dd HH:mm:ss +0000".
std::string describe(const std::optional<std::string>& value);
std::string describe(const std::optional<Date>& value);

} // namespace vestrino
