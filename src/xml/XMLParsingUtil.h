#pragma once

#include "entities/ATMLumaspot.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <optional>
#include <string>

namespace vestrino {

// How the service operations read a reply. Each method runs a new parser of its kind over the
// reply text. ok says only whether the text was read as XML: when it was, the outcome strings
// and then the payload are handed out as read (absent values stay absent, lists that were never
// filled are empty); when it was not, nothing but ok is written.
class XMLParsingUtil {
public:
    using Text = std::optional<std::string>;

    static void parseEsitoString(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                 Text& messaggio);
    static void parseLogin(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                           Text& messaggio, Text& messaggioBenvenuto);
    static void parseListaCarte(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                Text& messaggio, ListaCarte& carte);
    static void parseListaMovimenti(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                    Text& messaggio, CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                                    ListaMovimenti& listaMovimenti);
    static void parseTrovaAtmLumaspot(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                      Text& messaggio, ListaLumaspot& elencoLumaSpot);
};

} // namespace vestrino
