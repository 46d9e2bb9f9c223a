#pragma once

#include "entities/ATMLumaspot.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <optional>
#include <string>

namespace vestrino {

class DictCache;

// The card issuer's service, one class method per operation. Each returns an outcome code
// (0 success, negative failure) and hands records and the service's message back through
// out-parameters; an out-parameter an operation does not reach is left as the caller set it.
class RemoteServiceUtil {
public:
    using Text = std::optional<std::string>;

    static int login(const Text& user, const Text& password, Text& messaggio);
    static int logout();
    static int listaCarte(ListaCarte& carte, Text& messaggio);
    static int listaMovimenti(const Text& selPan, CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                              ListaMovimenti& listaMovimenti, Text& messaggio);
    static int movimentiCartaAnonima(const Text& numeroCarta, const Text& dataAnno,
                                     const Text& dataMese, const Text& cvv2,
                                     CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                                     ListaMovimenti& listaMovimenti, Text& messaggio);
    // The banner's bytes as the service sent them, or nothing.
    static std::optional<std::string> bannerData();
    static int trovaAtmLumaSpot(float latitudine, float longitudine, float raggio,
                                ListaLumaspot& lumaspot);

    // The application delegate's session cache.
    static DictCache& dictCache();
};

} // namespace vestrino
