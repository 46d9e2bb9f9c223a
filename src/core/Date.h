#pragma once

#include <chrono>

namespace vestrino {

// A point in time, as the records hold transaction dates.
using Date = std::chrono::sys_time<std::chrono::milliseconds>;

} // namespace vestrino
