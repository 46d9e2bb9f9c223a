#pragma once

#include "entities/Movimento.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vestrino {

class DateFormatter;

// The texts a person reads of one transaction: its amount with its sign, and the detail that
// opens from its row.
class MovimentoText {
public:
    // The most of a description the detail shows (a few lines of it).
    static constexpr std::size_t kDetailDescriptionLength = 300;

    // "+ 12,50 €" for a credit that is there and not empty, else "- 38,56 €" from the debit.
    static std::string amount(const Movimento& movimento);
    // "Causale: …\nImporto: …\nData Contabile: …\nData Valuta: …": the description (its first
    // kDetailDescriptionLength characters and "…" when longer), the amount as the screen shows
    // it, and both dates in the formatter's pattern (empty when absent).
    static std::string detail(const Movimento& movimento, std::string_view amountShown,
                              DateFormatter& dates);
};

} // namespace vestrino
