#pragma once

#include "entities/MonthTotals.h"
#include "entities/Movimento.h"
#include "entities/StatementSummary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino {

// A statement as a person looks through it: the transactions sorted once (newest value date
// first, those without one last, one date's rows in the service's order), narrowed by the
// types whose toggles are on and by a search text (case and accents ignored), with the count
// and total of what is shown. Each description is folded, each amount read and each month
// found once, when the statement arrives; a keystroke only filters.
//
// Beside the list, the months: what each month of the rows the types and the search let
// through adds up to (the chart's bars), and a month that narrows the rows shown further.
// A row's month is that of its value date, or of its booking date when it has none; a row
// with neither belongs to no month.
class StatementModel {
public:
    explicit StatementModel(ListaMovimenti movimenti = {});

    // The transactions in the service's order.
    const ListaMovimenti& movimenti() const { return movimenti_; }
    // The types shown (none: every type); the search text (empty: every row).
    void setTypes(std::vector<std::int32_t> types);
    void setQuery(std::string_view text);
    bool narrowedByTypes() const { return !types_.empty(); }
    bool narrowedBySearch() const { return !query_.empty(); }
    // The search text as it is matched (folded).
    const std::string& foldedQuery() const { return query_; }
    // The month the rows shown are narrowed to (none: every month).
    void setMonth(std::optional<MonthKey> month);
    const std::optional<MonthKey>& month() const { return month_; }
    // The months of the rows the types and the search let through, oldest first, whatever
    // month is set.
    const std::vector<MonthTotals>& months() const { return months_; }

    // The rows shown, in their order: positions in movimenti().
    const std::vector<std::size_t>& shown() const { return shown_; }
    const Movimento& row(std::size_t index) const { return *movimenti_[shown_[index]]; }
    // The rows shown themselves (what an export writes).
    ListaMovimenti rowsShown() const;
    const StatementSummary& summary() const { return summary_; }

private:
    void refilter();

    ListaMovimenti movimenti_;
    std::vector<std::size_t> sorted_; // every position, in display order
    std::vector<std::string> folded_;
    std::vector<std::optional<std::int64_t>> cents_;
    std::vector<std::optional<MonthKey>> monthOf_;
    std::vector<std::int32_t> types_;
    std::string query_; // folded
    std::optional<MonthKey> month_;
    std::vector<MonthTotals> months_;
    std::vector<std::size_t> shown_;
    StatementSummary summary_;
};

} // namespace vestrino
