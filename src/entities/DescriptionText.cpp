#include "entities/DescriptionText.h"

#include <ctime>

namespace vestrino {

std::string describe(const std::optional<std::string>& value) {
    return value ? *value : std::string("(null)");
}

std::string describe(const std::optional<Date>& value) {
    if (!value) {
        return "(null)";
    }
    const auto seconds = std::chrono::floor<std::chrono::seconds>(*value);
    const std::time_t t = seconds.time_since_epoch().count();
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[40];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &tm);
    return buf;
}

} // namespace vestrino
