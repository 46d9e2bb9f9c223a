#include "entities/LocalDays.h"

#include <cstdio>
#include <ctime>

namespace vestrino {

std::optional<LocalDays::Day> LocalDays::day(const std::optional<Date>& date) {
    if (!date) {
        return std::nullopt;
    }
    const auto key = date->time_since_epoch().count();
    auto it = memo_.find(key);
    if (it == memo_.end()) {
        const std::time_t seconds =
            std::chrono::floor<std::chrono::seconds>(*date).time_since_epoch().count();
        std::tm local{};
        std::optional<Day> found;
        if (::localtime_r(&seconds, &local)) {
            found = Day{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
        }
        it = memo_.emplace(key, found).first;
    }
    return it->second;
}

std::string LocalDays::formatted(const std::optional<Date>& date, const char* pattern) {
    const auto d = day(date);
    if (!d) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, pattern, d->year, d->month, d->day);
    return text;
}

std::string LocalDays::iso(const std::optional<Date>& date) {
    return formatted(date, "%04d-%02d-%02d");
}

std::string LocalDays::compact(const std::optional<Date>& date) {
    return formatted(date, "%04d%02d%02d");
}

} // namespace vestrino
