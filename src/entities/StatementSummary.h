#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vestrino {

// The line under a statement's list: how many rows are shown and what they add up to,
// "12 movimenti · totale -245,60 €", with the rows whose amount cannot be read left out of the
// total and said ("(1 importo non leggibile escluso)"), and the total replaced by
// `hiddenAmount` when amounts are hidden (empty: shown).
struct StatementSummary {
    std::size_t count = 0;
    std::int64_t totalCents = 0;
    std::size_t unreadable = 0;

    std::string line(std::string_view hiddenAmount = {}) const;
};

} // namespace vestrino
