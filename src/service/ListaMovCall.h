#pragma once

#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

namespace vestrino {

// A statement kept in the session cache under "ListaMovCall_<card identifier>": the card, the
// balance and the transactions of the reply, shared with whoever received them.
struct ListaMovCall {
    CartaDiPagamentoPtr carta; // "CartaKey"
    SaldoPtr saldo;            // "Saldo"
    ListaMovimenti listaMov;   // "ListaMov"
};

} // namespace vestrino
