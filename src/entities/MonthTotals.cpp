#include "entities/MonthTotals.h"
#include "core/Translation.h"
#include "entities/Importo.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace vestrino {

namespace {
constexpr std::array<const char*, 12> kShortMonths = {N_("gen"), N_("feb"), N_("mar"), N_("apr"),
                                                      N_("mag"), N_("giu"), N_("lug"), N_("ago"),
                                                      N_("set"), N_("ott"), N_("nov"), N_("dic")};
}

std::string MonthKey::label() const {
    if (month < 1 || month > 12) {
        return std::to_string(year);
    }
    return std::string(tr(kShortMonths[static_cast<std::size_t>(month - 1)])) + " " +
           std::to_string(year);
}

std::string MonthKey::iso() const {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", year, month);
    return text;
}

std::optional<MonthKey> MonthKey::fromIso(std::string_view text) {
    if (text.size() != 7 || text[4] != '-') {
        return std::nullopt;
    }
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u}) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    MonthKey key;
    const auto year = std::from_chars(text.data(), text.data() + 4, key.year);
    const auto month = std::from_chars(text.data() + 5, text.data() + 7, key.month);
    if (year.ec != std::errc{} || year.ptr != text.data() + 4 || month.ec != std::errc{} ||
        month.ptr != text.data() + 7 || key.month < 1 || key.month > 12) {
        return std::nullopt;
    }
    return key;
}

namespace {
std::string signedText(std::int64_t cents) {
    return (cents > 0 ? "+" : "") + Importo::italian(cents);
}
} // namespace

std::string MonthTotals::outText() const {
    return signedText(-outCents);
}

std::string MonthTotals::inText() const {
    return signedText(inCents);
}

std::size_t MonthTotals::kindOf(std::int32_t tipoMovimento) {
    return tipoMovimento >= 0 && tipoMovimento < static_cast<std::int32_t>(kOtherKind)
               ? static_cast<std::size_t>(tipoMovimento)
               : kOtherKind;
}

} // namespace vestrino
