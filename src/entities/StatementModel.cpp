#include "entities/StatementModel.h"

#include "core/DateFormatter.h"
#include "core/SearchText.h"
#include "entities/Importo.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

namespace vestrino {

StatementModel::StatementModel(ListaMovimenti movimenti) : movimenti_(std::move(movimenti)) {
    std::erase(movimenti_, nullptr);
    folded_.reserve(movimenti_.size());
    cents_.reserve(movimenti_.size());
    monthOf_.reserve(movimenti_.size());
    // Months in the device's time zone, as the dates are shown; a statement repeats the same
    // few dates, each looked up once.
    DateFormatter monthFormat("yyyy-MM");
    std::unordered_map<Date::rep, std::optional<MonthKey>> monthOfDate;
    for (const auto& m : movimenti_) {
        folded_.push_back(foldedForSearch(m->descrizione().value_or("")));
        cents_.push_back(Importo::signedCents(*m));
        const auto& date = m->dataValuta() ? m->dataValuta() : m->dataContabile();
        if (!date) {
            monthOf_.emplace_back();
            continue;
        }
        auto [it, added] = monthOfDate.try_emplace(date->time_since_epoch().count());
        if (added) {
            it->second = MonthKey::fromIso(monthFormat.stringFromDate(*date));
        }
        monthOf_.push_back(it->second);
    }
    // Once: the order never depends on the types or the search.
    sorted_.resize(movimenti_.size());
    std::iota(sorted_.begin(), sorted_.end(), std::size_t{0});
    std::stable_sort(sorted_.begin(), sorted_.end(), [this](std::size_t a, std::size_t b) {
        const auto& da = movimenti_[a]->dataValuta();
        const auto& db = movimenti_[b]->dataValuta();
        return da && (!db || *da > *db);
    });
    refilter();
}

void StatementModel::setTypes(std::vector<std::int32_t> types) {
    types_ = std::move(types);
    refilter();
}

void StatementModel::setQuery(std::string_view text) {
    query_ = foldedForSearch(text);
    refilter();
}

void StatementModel::setMonth(std::optional<MonthKey> month) {
    month_ = month;
    refilter();
}

ListaMovimenti StatementModel::rowsShown() const {
    ListaMovimenti out;
    out.reserve(shown_.size());
    for (const std::size_t i : shown_) {
        out.push_back(movimenti_[i]);
    }
    return out;
}

void StatementModel::refilter() {
    shown_.clear();
    summary_ = {};
    std::map<MonthKey, MonthTotals> months;
    for (const std::size_t i : sorted_) {
        const bool typeShown =
            types_.empty() ||
            std::find(types_.begin(), types_.end(), movimenti_[i]->tipoMovimento()) != types_.end();
        if (!typeShown || !containsFolded(folded_[i], query_)) {
            continue;
        }
        const auto& cents = cents_[i];
        if (const auto& month = monthOf_[i]) {
            auto& total = months[*month];
            total.month = *month;
            ++total.count;
            if (!cents) {
                ++total.unreadable;
            } else if (!movimenti_[i]->accrediti().value_or("").empty()) {
                total.inCents += *cents; // a credit, as the amount was read
            } else {
                total.outCents -= *cents;
                total.outByKind[MonthTotals::kindOf(movimenti_[i]->tipoMovimento())] -= *cents;
            }
        }
        if (month_ && monthOf_[i] != month_) {
            continue;
        }
        shown_.push_back(i);
        if (cents) {
            summary_.totalCents += *cents;
        } else {
            ++summary_.unreadable;
        }
    }
    summary_.count = shown_.size();
    months_.clear();
    months_.reserve(months.size());
    for (auto& [key, total] : months) {
        months_.push_back(total);
    }
}

} // namespace vestrino
