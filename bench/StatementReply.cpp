#include "StatementReply.h"

#include <array>
#include <cstdio>

namespace vestrino::bench {

std::string statementReply(int transactions) {
    static constexpr std::array<const char*, 8> descriptions{
        "PAGAMENTO POS SUPERMERCATO CONAD VIA TIBURTINA ROMA",
        "PRELIEVO ATM LUMASPOT UFFICIO POSTALE ROMA 12 VIA MARSALA",
        "RICARICA CARTA LUMACARD DA CONTO BANCOPOSTA ONLINE",
        "RICARICA TELEFONICA OPERATORE MOBILE NUMERO 3331234567",
        "RICARICA CARTA DA SPORTELLO UFFICIO POSTALE MILANO CORDUSIO",
        "Pagamento online libreria Feltrinelli ordine 2026-11-0042",
        "COMMISSIONE PRELIEVO CIRCUITO INTERNAZIONALE",
        "PAGAMENTO POS TRATTORIA DA ENZO \xE2\x80\x93 CAFF\xC3\x88 E DOLCI",
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lumacard>\n  <risposta>\n"
                      "    <esito>OK</esito>\n    <codice_esito></codice_esito>\n"
                      "    <messaggio></messaggio>\n  </risposta>\n"
                      "  <carta><numero>5333171012345678</numero>"
                      "<intestatario>MARIO ROSSI</intestatario></carta>\n"
                      "  <saldo><saldo_al>18/11/2026</saldo_al><saldo_contabile>1\xC2\xA0"
                      "219,40</saldo_contabile><saldo_disponibile>1\xC2\xA0"
                      "204,40</saldo_disponibile><saldo_bloccato>15,00</saldo_bloccato></saldo>\n"
                      "  <movimenti>\n";
    char buf[512];
    for (int i = 0; i < transactions; ++i) {
        const int day = 1 + (i * 7) % 28;
        const int month = 1 + (i / 28) % 12;
        const bool credit = i % 5 == 2;
        const int euros = (i * 37) % 1900 + 1;
        std::snprintf(buf, sizeof buf,
                      "<movimento>\n"
                      "<data_contabile>%02d/%02d/2026</data_contabile>\n"
                      "<data_valuta>%02d/%02d/2026</data_valuta>\n"
                      "<addebiti>%s</addebiti>\n"
                      "<accrediti>%s</accrediti>\n"
                      "<descrizione_operazioni>%s</descrizione_operazioni>\n"
                      "</movimento>\n",
                      day, month, day, month,
                      credit ? ""
                             : (std::to_string(euros / 1000) + "\xC2\xA0" +
                                std::to_string(euros % 1000) + ",50")
                                   .c_str(),
                      credit ? (std::to_string(euros) + ",00").c_str() : "",
                      descriptions[static_cast<std::size_t>(i) % descriptions.size()]);
        xml += buf;
    }
    xml += "  </movimenti>\n</lumacard>\n";
    return xml;
}

} // namespace vestrino::bench
