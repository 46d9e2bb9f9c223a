#pragma once

#include "core/Date.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace vestrino {

// Calendar days in the device's time zone (the C library's, the same TZ ICU reads), as a
// statement shows its dates. A statement repeats its few dates many times, so each is worked
// out once.
class LocalDays {
public:
    struct Day {
        int year = 0;
        int month = 0; // 1 to 12
        int day = 0;   // 1 to 31
    };

    // The day of the date, or nothing when there is no date (or the C library has none for it).
    std::optional<Day> day(const std::optional<Date>& date);
    // "yyyy-MM-dd", or an empty text.
    std::string iso(const std::optional<Date>& date);
    // "yyyyMMdd", or an empty text.
    std::string compact(const std::optional<Date>& date);

private:
    // The day's year, month and day through a printf pattern of three ints.
    std::string formatted(const std::optional<Date>& date, const char* pattern);

    std::unordered_map<long long, std::optional<Day>> memo_;
};

} // namespace vestrino
