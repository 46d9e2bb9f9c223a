#include "xml/XMLParsingUtil.h"

#include "xml/ListaCarteXMLParser.h"
#include "xml/ListaMovimentiXMLParser.h"
#include "xml/LoginXMLParser.h"
#include "xml/TrovaATMLumaSpotXMLParser.h"

namespace vestrino {

// The parser is discarded after the call, so its lists are moved out rather than copied.

namespace {

// Runs the parser; when the text was read, hands out the outcome strings. The caller hands out
// the payload after it, and only when this returns true.
bool readOutcome(EsitoXMLParser& parser, const XMLParsingUtil::Text& text, bool& ok,
                 XMLParsingUtil::Text& esito, XMLParsingUtil::Text& codiceEsito,
                 XMLParsingUtil::Text& messaggio) {
    if (!parser.parseXMLString(text)) {
        ok = false;
        return false;
    }
    ok = true;
    esito = parser.esito();
    codiceEsito = parser.codiceEsito();
    messaggio = parser.messaggio();
    return true;
}

} // namespace

void XMLParsingUtil::parseEsitoString(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                      Text& messaggio) {
    EsitoXMLParser parser;
    readOutcome(parser, text, ok, esito, codiceEsito, messaggio);
}

void XMLParsingUtil::parseLogin(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                Text& messaggio, Text& messaggioBenvenuto) {
    LoginXMLParser parser;
    if (readOutcome(parser, text, ok, esito, codiceEsito, messaggio)) {
        messaggioBenvenuto = parser.messaggioBevenuto();
    }
}

void XMLParsingUtil::parseListaCarte(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                     Text& messaggio, ListaCarte& carte) {
    ListaCarteXMLParser parser;
    if (readOutcome(parser, text, ok, esito, codiceEsito, messaggio)) {
        carte = std::move(parser.carte());
    }
}

void XMLParsingUtil::parseListaMovimenti(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                         Text& messaggio, CartaDiPagamentoPtr& carta,
                                         SaldoPtr& saldo, ListaMovimenti& listaMovimenti) {
    ListaMovimentiXMLParser parser;
    if (readOutcome(parser, text, ok, esito, codiceEsito, messaggio)) {
        carta = parser.carta();
        saldo = parser.saldo();
        listaMovimenti = std::move(parser.movimenti());
    }
}

void XMLParsingUtil::parseTrovaAtmLumaspot(const Text& text, bool& ok, Text& esito,
                                           Text& codiceEsito, Text& messaggio,
                                           ListaLumaspot& elencoLumaSpot) {
    TrovaATMLumaSpotXMLParser parser;
    if (readOutcome(parser, text, ok, esito, codiceEsito, messaggio)) {
        elencoLumaSpot = std::move(parser.lumaspot());
    }
}

} // namespace vestrino
