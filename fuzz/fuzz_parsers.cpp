// libFuzzer target over the five reply-reading methods: the first byte chooses the method, the
// rest is the reply body, decoded as the service client decodes it. Every text handed out must
// be UTF-8 (the readers rely on the XML library for that and do not check again).
#include "core/Log.h"
#include "core/ReplyText.h"
#include "core/Utf8.h"
#include "xml/XMLParsingUtil.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vestrino;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Log::setSink([](std::string_view) {});
    return 0;
}

namespace {
void mustBeUtf8(const XMLParsingUtil::Text& text) {
    if (text && !isValidUtf8(*text)) {
        __builtin_trap();
    }
}
} // namespace

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
        mustBeUtf8(benvenuto);
        break;
    }
    case 2: {
        ListaCarte carte;
        XMLParsingUtil::parseListaCarte(text, ok, esito, codice, messaggio, carte);
        for (const auto& c : carte) {
            mustBeUtf8(c->serial());
            mustBeUtf8(c->desc());
        }
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
            mustBeUtf8(m->descrizione());
            mustBeUtf8(m->addebiti());
        }
        break;
    }
    default: {
        ListaLumaspot lumaspot;
        XMLParsingUtil::parseTrovaAtmLumaspot(text, ok, esito, codice, messaggio, lumaspot);
        break;
    }
    }
    mustBeUtf8(esito);
    mustBeUtf8(codice);
    mustBeUtf8(messaggio);
    return 0;
}
