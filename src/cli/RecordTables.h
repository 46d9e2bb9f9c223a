#pragma once

#include "entities/ATMLumaspot.h"
#include "entities/CartaDiPagamento.h"
#include "entities/LumaspotVicino.h"
#include "entities/MonthTotals.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vestrino {

// The terminal client's readable forms of the records: a card list, a statement (card,
// balance and a table of transactions), a statement's months, a list of cash machines.
class RecordTables {
public:
    static std::string shown(const std::optional<std::string>& value);
    // "Saldo al:     ": a label in the language in force, padded so that values line up.
    static std::string field(const char* italian);
    // Table headers in the language in force.
    static std::vector<std::string> headers(std::initializer_list<const char*> italian);
    static void printCards(const ListaCarte& carte, std::ostream& out);
    static void printStatement(const CartaDiPagamentoPtr& carta, const SaldoPtr& saldo,
                               const ListaMovimenti& movimenti, std::ostream& out);
    // One row a month, oldest first: the count, what went out and came in, what went out by
    // kind, and the rows whose amount could not be read.
    static void printMonths(const std::vector<MonthTotals>& months, std::ostream& out);
    static void printLumaspot(const ListaLumaspot& lumaspot, std::ostream& out);
    // Nearest first, with the distance ("1,2 km").
    static void printLumaspot(const std::vector<LumaspotVicino>& lumaspot, std::ostream& out);
};

} // namespace vestrino
