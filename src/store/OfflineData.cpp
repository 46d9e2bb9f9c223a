#include "store/OfflineData.h"

#include <algorithm>
#include <numeric>

namespace vestrino {

std::string OfflineData::statementKey(const CartaDiPagamento& card) {
    if (card.anonima()) {
        return "numero:" + card.serial().value_or("");
    }
    return "codice:" + card.desc().value_or("");
}

const OfflineStatement* OfflineData::statement(const CartaDiPagamento& card) const {
    const auto it = statements.find(statementKey(card));
    return it == statements.end() ? nullptr : &it->second;
}

void OfflineData::putStatement(const CartaDiPagamento& card, OfflineStatement statement) {
    auto& rows = statement.movimenti;
    if (rows.size() > kMaxRows) {
        // The newest rows by booking date (undated ones count as oldest), in their own order.
        std::vector<std::size_t> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        const auto when = [&](std::size_t i) {
            return rows[i] && rows[i]->dataContabile() ? *rows[i]->dataContabile() : Date::min();
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return when(a) > when(b); });
        order.resize(kMaxRows);
        std::sort(order.begin(), order.end());
        ListaMovimenti kept;
        kept.reserve(kMaxRows);
        for (const std::size_t i : order) {
            kept.push_back(rows[i]);
        }
        rows = std::move(kept);
    }
    statements[statementKey(card)] = std::move(statement);
}

WallTime OfflineData::newest() const {
    WallTime latest = cardsAt;
    for (const auto& [key, s] : statements) {
        latest = std::max(latest, s.fetchedAt);
    }
    return latest;
}

} // namespace vestrino
