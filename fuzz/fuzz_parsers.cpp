// libFuzzer target over the five reply-reading methods: the first byte chooses the method, the
// rest is the reply body, decoded as the service client decodes it.
#include "core/Log.h"
#include "core/ReplyText.h"
#include "xml/XMLParsingUtil.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vestrino;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Log::setSink([](std::string_view) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto text =
        decodeReplyText(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    bool ok = false;
    XMLParsingUtil::Text esito, codice, messaggio;
    switch (data[0] % 5) {
    case 0:
        XMLParsingUtil::parseEsitoString(text, ok, esito, codice, messaggio);
        break;
    case 1: {
        XMLParsingUtil::Text benvenuto;
        XMLParsingUtil::parseLogin(text, ok, esito, codice, messaggio, benvenuto);
        break;
    }
    case 2: {
        ListaCarte carte;
        XMLParsingUtil::parseListaCarte(text, ok, esito, codice, messaggio, carte);
        break;
    }
    case 3: {
        CartaDiPagamentoPtr carta;
        SaldoPtr saldo;
        ListaMovimenti movimenti;
        XMLParsingUtil::parseListaMovimenti(text, ok, esito, codice, messaggio, carta, saldo,
                                            movimenti);
        for (const auto& m : movimenti) {
            (void)m->description();
        }
        break;
    }
    default: {
        ListaLumaspot lumaspot;
        XMLParsingUtil::parseTrovaAtmLumaspot(text, ok, esito, codice, messaggio, lumaspot);
        break;
    }
    }
    return 0;
}
