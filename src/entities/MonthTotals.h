#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// A calendar month of the device's time zone, as the statement's chart and its month filter
// count them.
struct MonthKey {
    int year = 0;
    int month = 0; // 1 to 12

    auto operator<=>(const MonthKey&) const = default;
    // "nov 2026".
    std::string label() const;
    // "2026-11", what the terminal client prints and reads back.
    std::string iso() const;
    static std::optional<MonthKey> fromIso(std::string_view text);
};

// What one month of a statement adds up to, in exact cents: what went out (the debits, as a
// positive sum, told apart by kind) and what came in (the credits). Rows whose amount cannot
// be read are counted, not added.
struct MonthTotals {
    // The five kinds a transaction is classified as (its type, 0 to 4), then any other.
    static constexpr std::size_t kKinds = 6;
    static constexpr std::size_t kOtherKind = 5;
    static std::size_t kindOf(std::int32_t tipoMovimento);

    // What went out and what came in as the chart and the terminal write them: "-430,84",
    // "+693,77", "0,00" for nothing (a sign only where there is an amount).
    std::string outText() const;
    std::string inText() const;

    MonthKey month;
    std::int64_t outCents = 0;
    std::int64_t inCents = 0;
    std::array<std::int64_t, kKinds> outByKind{};
    std::size_t count = 0;
    std::size_t unreadable = 0;
};

} // namespace vestrino
