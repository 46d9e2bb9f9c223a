#pragma once

#include "entities/Movimento.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino {

// The transaction ids an OFX statement gives its rows (FITID), which importers keep to know a
// row they have already booked: the same row has the same id in every export, and no two rows
// of one export share one. An id is made of the row's own data (the card's number, both dates,
// the amount, the description), so it does not move when rows are added, taken away or shown
// in another order; rows equal in all of these are told apart by their place among their
// equals counted from the oldest, so that a twin that comes later gets the next number and
// leaves the earlier ones theirs.
//
// "yyyyMMdd-<20 hex digits>-<n>": the day the row is booked on (for a person reading the
// file), 80 bits of the SHA-256 of the row's fields, its place among equal rows (from 1).
class StatementFitids {
public:
    // One id a row, in the order of `rows`, which are newest first (as a statement shows
    // them); a null row has an empty id.
    static std::vector<std::string> of(std::span<const MovimentoPtr> rows,
                                       std::string_view cardNumber);
};

} // namespace vestrino
