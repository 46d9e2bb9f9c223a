#include "xml/ListaMovimentiXMLParser.h"
#include "xml/XMLParsingUtil.h"
#include "xml/XmlTestSupport.h"

#include <gtest/gtest.h>

using namespace vestrino;
using test::joined;
using test::reply;

namespace {

using Opt = std::optional<std::string>;

using test::statement;

std::string movimento(const std::string& inner) {
    return "<movimento>" + inner + "</movimento>";
}

long long millis(const std::optional<Date>& d) {
    return d ? d->time_since_epoch().count() : -1;
}

} // namespace

TEST(ListaCarteXMLParser, CardsInDocumentOrder) {
    bool ok = false;
    Opt esito, codice, messaggio;
    ListaCarte carte;
    XMLParsingUtil::parseListaCarte(
        reply("OK", "", "",
              "<carte><carta><numero>111</numero><codice>CLASSIC</codice></carta>"
              "<carta><codice>YOUNG</codice><numero>222</numero></carta>"
              "<carta/>"
              "<carta><numero> 333 </numero></carta></carte>"
              "<numero>lost</numero><codice>lost</codice>"),
        ok, esito, codice, messaggio, carte);
    ASSERT_TRUE(ok);
    std::string read;
    for (const auto& c : carte) {
        read +=
            joined({c->serial(), c->desc(), c->alias()}) + (c->anonima() ? " anonima" : "") + "; ";
    }
    // An empty group is a card with nothing known; numbers are never trimmed.
    EXPECT_EQ(read, "111|CLASSIC|-; 222|YOUNG|-; -|-|-;  333 |-|-; ");
}

TEST(ListaMovimentiXMLParser, CardBalanceAndTransactions) {
    const auto s = statement(reply(
        "OK", "", "",
        "<carta><numero>5333</numero><intestatario>MARIO ROSSI</intestatario></carta>"
        "<saldo><saldo_al>01/01/2010</saldo_al><saldo_contabile>1,00</saldo_contabile></saldo>"
        "<saldo><saldo_al>18/11/2026</saldo_al><saldo_contabile>1 219,40</saldo_contabile>"
        "<saldo_disponibile>1204,40</saldo_disponibile><saldo_bloccato/></saldo>"
        "<movimenti>" +
            movimento(
                "<data_contabile>31/12/2010</data_contabile><data_valuta>2010-12-31"
                "</data_valuta><addebiti>1\u00a0250,00</addebiti><accrediti> 3,00 "
                "</accrediti><descrizione_operazioni>Pagamento POS</descrizione_operazioni>") +
            movimento("<accrediti>\u00a0\u00a05,00\u00a0</accrediti>") + movimento("") +
            "</movimenti><data_contabile>01/01/2011</data_contabile>"));
    ASSERT_TRUE(s.ok);
    ASSERT_TRUE(s.carta);
    EXPECT_EQ(joined({s.carta->serial(), s.carta->intestatario()}) +
                  (s.carta->anonima() ? " anonima" : ""),
              "5333|MARIO ROSSI");
    ASSERT_TRUE(s.saldo);
    // Only the second balance block is handed out.
    EXPECT_EQ(joined({s.saldo->saldoAl(), s.saldo->saldoContabile(), s.saldo->saldoDisponibile(),
                      s.saldo->saldoBloccato()}),
              "18/11/2026|1 219,40|1204,40|");

    // Dates as local midnight in Rome (a value date not in the day's form is dropped), no-break
    // spaces removed from amounts; a transaction without description is of no known type.
    std::string read;
    for (const auto& m : s.movimenti) {
        read += std::to_string(millis(m->dataContabile())) + " " +
                std::to_string(millis(m->dataValuta())) + " " +
                joined({m->addebiti(), m->accrediti(), m->descrizione()}) + " " +
                std::to_string(m->tipoMovimento()) + "; ";
    }
    EXPECT_EQ(read, "1293750000000 -1 1250,00| 3,00 |Pagamento POS 4; -1 -1 -|5,00|- -1; "
                    "-1 -1 -|-|- -1; ");
}

TEST(ListaMovimentiXMLParser, BlocksThatWereNeverOpened) {
    // Without a card block the card is absent and its fields are dropped, and their text does
    // not leak into the next element.
    auto s = statement(reply("OK", "", "",
                             "<numero>5333</numero><intestatario>X</intestatario>"
                             "<saldo_al>01/01/2010</saldo_al>" +
                                 movimento("<descrizione_operazioni>PRELIEVO"
                                           "</descrizione_operazioni>")));
    ASSERT_TRUE(s.ok);
    EXPECT_FALSE(s.carta);
    EXPECT_FALSE(s.saldo);
    ASSERT_EQ(s.movimenti.size(), 1u);
    EXPECT_EQ(s.movimenti[0]->tipoMovimento(), 0);

    // A card start tag before risposta still makes a card, with nothing read into it.
    s = statement("<r><carta><numero>1</numero></carta><risposta><esito>OK</esito></risposta>"
                  "<numero>2</numero></r>");
    ASSERT_TRUE(s.carta);
    EXPECT_EQ(s.carta->serial(), "2");
    s = statement("<r><carta><numero>1</numero></carta><risposta><esito>OK</esito></risposta>"
                  "</r>");
    ASSERT_TRUE(s.carta);
    EXPECT_EQ(s.carta->serial(), std::nullopt);
}

TEST(ListaMovimentiXMLParser, KoOutcomeHandsOutNoPayload) {
    const auto s = statement(
        reply("KO", "parametro_selpan_vuoto", "Carta non indicata",
              "<carta><numero>1</numero></carta><saldo/>" + movimento("<addebiti>1</addebiti>")));
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(joined({s.esito, s.codice}), "KO|parametro_selpan_vuoto");
    EXPECT_FALSE(s.carta);
    EXPECT_FALSE(s.saldo);
    EXPECT_TRUE(s.movimenti.empty());
}

TEST(ListaMovimentiXMLParser, TipoMovimentoFromTheStartOfTheDescription) {
    const std::pair<Opt, int> cases[] = {
        {"PRELIEVO ATM", 0},
        {"prelievo atm", 0},
        {"Pagamento POS prelievo", 4},
        {"PAGAMENTO", 4},
        {"ricarica telefonica 333", 3},
        {"Ricarica Carta Lumacard da conto", 2},
        {"RICARICA CARTA LUMACARD", 2},
        {"ricarica carta da sportello", 1},
        {"RICARICA CARTALUMACARD", 1},
        {"COMMISSIONE PRELIEVO", -1},
        {" PRELIEVO", -1},
        {"PRELIEV", -1},
        {"", -1},
        {std::nullopt, -1},
        {"pagamento caffè", 4},
        {"ricarica carta ß", 1},
        // Letters outside ASCII that upper-case into the keywords, near the start.
        {"prel\u0131evo atm", 0},                    // dotless i
        {"pagamento \u017Fupermercato", 4},          // long s, after the keyword
        {"\u017Fpesa", -1},                          // long s: "SPESA"
        {"ricarica carta lumacar\u0111", 1},         // d with stroke is no D
        {"ricarica carta lumacar\u1E0B e altro", 1}, // d with dot above: Ḋ, no D
        {"RICARICA TELEFONICA \u00E8 lunga", 3},
    };
    for (const auto& [descrizione, tipo] : cases) {
        Movimento m;
        m.setDescrizione(descrizione);
        EXPECT_EQ(ListaMovimentiXMLParser::getTipoMovimento(m), tipo)
            << descrizione.value_or("<absent>");
    }
}

TEST(TrovaATMLumaSpotXMLParser, CashMachines) {
    bool ok = false;
    Opt esito, codice, messaggio;
    ListaLumaspot lumaspot{std::make_shared<ATMLumaspot>()};
    XMLParsingUtil::parseTrovaAtmLumaspot(
        reply("OK", "", "",
              "<elenco><atm_lumaspot><frazionario>55123</frazionario><ufficio>ROMA 12</ufficio>"
              "<provincia>RM</provincia><cap>00184</cap><lat>41.895466</lat>"
              "<lng>12.482324</lng></atm_lumaspot><atm_lumaspot><ufficio>MILANO"
              "</ufficio></atm_lumaspot></elenco>"),
        ok, esito, codice, messaggio, lumaspot);
    ASSERT_TRUE(ok);
    std::string read;
    for (const auto& a : lumaspot) {
        read += joined({a->frazionario(), a->ufficio(), a->provincia(), a->cap(), a->latitudine(),
                        a->longitudine()}) +
                "; ";
    }
    EXPECT_EQ(read, "55123|ROMA 12|RM|00184|41.895466|12.482324; -|MILANO|-|-|-|-; ");

    XMLParsingUtil::parseTrovaAtmLumaspot(reply("OK", "", ""), ok, esito, codice, messaggio,
                                          lumaspot);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(lumaspot.empty()); // handed out empty, never left as it was
}

TEST(LoginXMLParser, WelcomeText) {
    bool ok = false;
    Opt esito, codice, messaggio, benvenuto = "untouched";
    XMLParsingUtil::parseLogin(
        reply("OK", "", "", "<messaggio_benvenuto>Benvenuto Mario</messaggio_benvenuto>"), ok,
        esito, codice, messaggio, benvenuto);
    ASSERT_TRUE(ok);
    EXPECT_EQ(benvenuto, "Benvenuto Mario");
    XMLParsingUtil::parseLogin(reply("KO", "login_fallita", "Credenziali errate",
                                     "<messaggio_benvenuto>x</messaggio_benvenuto>"),
                               ok, esito, codice, messaggio, benvenuto);
    ASSERT_TRUE(ok);
    EXPECT_EQ(joined({codice, benvenuto}), "login_fallita|-");
}
