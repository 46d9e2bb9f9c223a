#pragma once

#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"
#include "xml/EsitoXMLParser.h"

#include <cstdint>

namespace vestrino {

// Reads a statement reply: the card block, the balance block and the transactions, each
// transaction typed from its description.
class ListaMovimentiXMLParser : public EsitoXMLParser {
public:
    ListaMovimentiXMLParser();
    void startMatchString(const char* name) override;
    void endMatchString(const char* name) override;

    // The type of a transaction from the start of its upper-cased description: 0 withdrawal,
    // 4 payment, 3 phone top-up, 2 brand card top-up, 1 card top-up, -1 anything else
    // (a transaction without description included).
    static std::int32_t getTipoMovimento(const Movimento& movimento);

    const CartaDiPagamentoPtr& carta() const { return carta_; }
    const SaldoPtr& saldo() const { return saldo_; }
    const ListaMovimenti& movimenti() const { return movimenti_; }
    ListaMovimenti& movimenti() { return movimenti_; }

private:
    Movimento& currentMovimento();

    CartaDiPagamentoPtr carta_;
    SaldoPtr saldo_;
    MovimentoPtr currentMovimento_;
    ListaMovimenti movimenti_;
};

} // namespace vestrino
