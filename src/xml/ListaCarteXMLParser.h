#pragma once

#include "entities/CartaDiPagamento.h"
#include "xml/EsitoXMLParser.h"

namespace vestrino {

// Reads the card list reply: one card per `carta` group, its `numero` and `codice`.
class ListaCarteXMLParser : public EsitoXMLParser {
public:
    ListaCarteXMLParser();
    void endMatchString(const char* name) override;

    const ListaCarte& carte() const { return carte_; }
    ListaCarte& carte() { return carte_; }

private:
    // The card being read, made when its first value arrives.
    CartaDiPagamento& currentCarta();

    ListaCarte carte_;
    CartaDiPagamentoPtr currentCarta_;
};

} // namespace vestrino
