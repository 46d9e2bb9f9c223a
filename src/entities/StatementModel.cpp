#include "entities/StatementModel.h"

#include "core/SearchText.h"
#include "entities/Importo.h"

#include <algorithm>
#include <numeric>

namespace vestrino {

StatementModel::StatementModel(ListaMovimenti movimenti) : movimenti_(std::move(movimenti)) {
    std::erase(movimenti_, nullptr);
    folded_.reserve(movimenti_.size());
    cents_.reserve(movimenti_.size());
    for (const auto& m : movimenti_) {
        folded_.push_back(foldedForSearch(m->descrizione().value_or("")));
        cents_.push_back(Importo::signedCents(*m));
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
    for (const std::size_t i : sorted_) {
        const bool typeShown =
            types_.empty() ||
            std::find(types_.begin(), types_.end(), movimenti_[i]->tipoMovimento()) != types_.end();
        if (typeShown && containsFolded(folded_[i], query_)) {
            shown_.push_back(i);
            if (cents_[i]) {
                summary_.totalCents += *cents_[i];
            } else {
                ++summary_.unreadable;
            }
        }
    }
    summary_.count = shown_.size();
}

} // namespace vestrino
