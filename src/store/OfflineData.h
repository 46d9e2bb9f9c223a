#pragma once

#include "core/Clock.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <chrono>
#include <map>
#include <string>

namespace vestrino {

// A card's statement as it was last fetched: what the statement screen shows.
struct OfflineStatement {
    WallTime fetchedAt{};
    CartaDiPagamentoPtr carta; // the card as the reply described it (nothing when it did not)
    Saldo saldo;
    ListaMovimenti movimenti;
};

// What a user's offline copy holds: the last card list and the last statement of each card,
// each with the time it came from the service.
struct OfflineData {
    // The rows kept of one card's statement: the newest, so that the copy stays small.
    static constexpr std::size_t kMaxRows = 2000;

    std::string user;
    WallTime cardsAt{};
    ListaCarte carte;
    std::map<std::string, OfflineStatement> statements;

    // Where a card's statement is kept: an account card by the service's code, an anonymous
    // card by its number (it has no code).
    static std::string statementKey(const CartaDiPagamento& card);
    const OfflineStatement* statement(const CartaDiPagamento& card) const;
    // Keeps the statement in place of the card's last one, cut to its kMaxRows newest rows.
    void putStatement(const CartaDiPagamento& card, OfflineStatement statement);
    // The time of the newest data held (the card list or a statement).
    WallTime newest() const;
};

} // namespace vestrino
