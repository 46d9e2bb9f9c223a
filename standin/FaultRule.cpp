#include "FaultRule.h"

#include <charconv>

namespace lumacard {

namespace {

std::optional<long long> number(std::string_view text) {
    long long value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string fullPath(std::string_view path) {
    if (path == "*" || path.starts_with('/')) {
        return std::string(path);
    }
    return "/LumaCard/" + std::string(path) + (path.ends_with(".do") ? "" : ".do");
}

} // namespace

std::optional<FaultRule> FaultRule::parse(std::string_view text, std::string& error) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        error = "a fault is PATH:SETTINGS, not \"" + std::string(text) + "\"";
        return std::nullopt;
    }
    FaultRule rule;
    rule.path = fullPath(text.substr(0, colon));
    std::string_view rest = text.substr(colon + 1);
    if (rest.empty()) {
        error = "the fault for " + rule.path + " has no settings";
        return std::nullopt;
    }
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const auto eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        const auto value =
            eq == std::string_view::npos ? std::nullopt : number(item.substr(eq + 1));
        const bool wantsValue = name == "delay" || name == "status" || name == "cut";
        if (wantsValue && !value) {
            error =
                "\"" + std::string(item) + "\" wants a whole number: " + std::string(name) + "=N";
            return std::nullopt;
        }
        const long long n = value.value_or(0);
        if (name == "delay") {
            rule.fault.delay = std::chrono::milliseconds(n);
        } else if (name == "status" && n >= 100 && n <= 599) {
            rule.fault.status = static_cast<int>(n);
        } else if (name == "cut") {
            rule.fault.truncateAt = static_cast<std::size_t>(n);
            rule.fault.cutConnection = true;
        } else if (name == "hang" && eq == std::string_view::npos) {
            rule.fault.delay = kHang;
        } else if (name == "close" && eq == std::string_view::npos) {
            rule.fault.closeConnection = true;
        } else {
            error = "unknown fault setting \"" + std::string(item) +
                    "\" (delay=MS, hang, status=N with 100 <= N <= 599, cut=N, close)";
            return std::nullopt;
        }
    }
    return rule;
}

} // namespace lumacard
