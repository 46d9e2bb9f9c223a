#include "entities/Importo.h"

#include <cstdlib>
#include <limits>

namespace vestrino {

namespace {

constexpr int kMostDigits = 15; // far below what 64 bits hold in cents

std::string_view trimmed(std::string_view t) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!t.empty() && blank(t.front())) {
        t.remove_prefix(1);
    }
    while (!t.empty() && blank(t.back())) {
        t.remove_suffix(1);
    }
    return t;
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::int64_t> Importo::centsFromItalian(std::string_view text) {
    std::string_view t = trimmed(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    const auto comma = t.find(',');
    const std::string_view whole = t.substr(0, comma);
    const std::string_view decimals =
        comma == std::string_view::npos ? std::string_view() : t.substr(comma + 1);
    if (whole.empty() ||
        (comma != std::string_view::npos && (decimals.empty() || decimals.size() > 2))) {
        return std::nullopt;
    }
    std::int64_t units = 0;
    int digits = 0;
    int sinceDot = -1; // digits since the last thousands dot; -1 before the first dot
    int firstGroup = 0;
    for (const char c : whole) {
        if (c == '.') {
            if (sinceDot == -1 ? firstGroup == 0 || firstGroup > 3 : sinceDot != 3) {
                return std::nullopt;
            }
            sinceDot = 0;
            continue;
        }
        if (!digit(c) || ++digits > kMostDigits) {
            return std::nullopt;
        }
        units = units * 10 + (c - '0');
        sinceDot == -1 ? ++firstGroup : ++sinceDot;
    }
    if (sinceDot != -1 && sinceDot != 3) {
        return std::nullopt;
    }
    std::int64_t cents = units * 100;
    for (std::size_t i = 0; i < decimals.size(); ++i) {
        if (!digit(decimals[i])) {
            return std::nullopt;
        }
        cents += (decimals[i] - '0') * (i == 0 ? 10 : 1);
    }
    return negative ? -cents : cents;
}

std::string Importo::italian(std::int64_t cents) {
    const bool negative = cents < 0;
    // Magnitude as unsigned: the most negative value has no positive counterpart.
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - static_cast<std::uint64_t>(cents)
                                             : static_cast<std::uint64_t>(cents);
    const std::string units = std::to_string(magnitude / 100);
    std::string grouped;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0 && (units.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += units[i];
    }
    const unsigned rest = static_cast<unsigned>(magnitude % 100);
    return (negative ? "-" : "") + grouped + ',' + char('0' + rest / 10) + char('0' + rest % 10);
}

std::string Importo::shown(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - static_cast<std::uint64_t>(cents)
                                             : static_cast<std::uint64_t>(cents);
    const unsigned rest = static_cast<unsigned>(magnitude % 100);
    const char* sign = negative ? "- " : cents > 0 ? "+ " : "";
    return sign + std::to_string(magnitude / 100) + ',' + char('0' + rest / 10) +
           char('0' + rest % 10);
}

std::string Importo::decimalPoint(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - static_cast<std::uint64_t>(cents)
                                             : static_cast<std::uint64_t>(cents);
    const unsigned rest = static_cast<unsigned>(magnitude % 100);
    return (negative ? "-" : "") + std::to_string(magnitude / 100) + '.' + char('0' + rest / 10) +
           char('0' + rest % 10);
}

std::optional<std::int64_t> Importo::signedCents(const Movimento& m) {
    if (m.accrediti() && !m.accrediti()->empty()) {
        return centsFromItalian(*m.accrediti());
    }
    const auto debit = centsFromItalian(m.addebiti().value_or(""));
    return debit ? std::optional<std::int64_t>(-*debit) : std::nullopt;
}

} // namespace vestrino
