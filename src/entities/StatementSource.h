#pragma once

#include "core/Date.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <span>

namespace vestrino {

// What an export of a statement is written from: the rows as the statement shows them (newest
// first), the card they belong to, its balance when there is one, and the moment of the export.
struct StatementSource {
    std::span<const MovimentoPtr> rows;
    const CartaDiPagamento* carta = nullptr;
    const Saldo* saldo = nullptr;
    Date now{};
};

} // namespace vestrino
