#include "xml/EsitoXMLParser.h"
#include "xml/XMLParsingUtil.h"
#include "xml/XmlTestSupport.h"

#include <gtest/gtest.h>

using namespace vestrino;
using test::reply;

namespace {

using Opt = std::optional<std::string>;

// Records the hooks it is given.
class RecordingParser : public EsitoXMLParser {
public:
    void startMatchString(const char* name) override { starts.emplace_back(name); }
    void endMatchString(const char* name) override {
        ends.push_back(std::string(name) + "=" + currentString().value_or("<absent>"));
    }
    std::vector<std::string> starts, ends;
};

} // namespace

// What a parse gave: "esito/codice/messaggio cards N log N", an absent value as "-"; a document
// that could not be read is "not read" and must leave every output as it was.
TEST(EsitoXMLParser, OutcomeBlockRules) {
    const std::string carta = "<carta><numero>1</numero></carta>";
    const std::string notRead = "not read untouched/untouched/untouched cards 1 log 0";
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"KO stops before the payload", reply("KO", "sessione_scaduta", "Sessione scaduta", carta),
         "KO/sessione_scaduta/Sessione scaduta cards 0 log 1"},
        {"lower-case ko does not stop reading", reply("ko", "sessione_scaduta", "m", carta),
         "ko/sessione_scaduta/m cards 1 log 0"},
        {"OK reads the payload", reply("OK", "", "", carta), "OK// cards 1 log 0"},
        {"esito after the close of risposta never stops reading",
         "<r><risposta><messaggio>m</messaggio></risposta><esito>KO</esito>" + carta + "</r>",
         "KO/-/m cards 1 log 0"},
        {"esito before risposta is ignored",
         "<r><esito>KO</esito><risposta><messaggio>m</messaggio></risposta>" + carta + "</r>",
         "-/-/m cards 1 log 0"},
        {"payload inside risposta is read even for KO",
         "<r><risposta><esito>KO</esito>" + carta + "</risposta>" + carta + "</r>",
         "KO/-/- cards 1 log 1"},
        {"blanks around the outcome word are kept",
         "<r><risposta><esito> KO\n</esito></risposta>" + carta + "</r>",
         " KO\n/-/- cards 1 log 0"},
        {"empty elements give empty strings",
         "<r><risposta><esito/><codice_esito></codice_esito><messaggio/></risposta></r>",
         "// cards 0 log 0"},
        {"a later messaggio replaces the first",
         "<r><risposta><esito>OK</esito><messaggio>uno</messaggio></risposta>"
         "<messaggio>due</messaggio></r>",
         "OK/-/due cards 0 log 0"},
        {"no risposta: everything absent",
         "<r><esito>OK</esito><messaggio>x</messaggio>" + carta + "</r>", "-/-/- cards 0 log 0"},
        {"entities, character references and CDATA are text",
         "<r><risposta><esito>OK</esito><messaggio>a &amp; b&#233; <![CDATA[<c>]]></messaggio>"
         "</risposta></r>",
         "OK/-/a & bé <c> cards 0 log 0"},
        {"a declared namespace prefix is never matched at its end",
         "<r xmlns:x=\"urn:x\"><risposta><esito>OK</esito><x:messaggio>m</x:messaggio>"
         "</risposta><x:carta><numero>1</numero></x:carta></r>",
         "OK/-/- cards 0 log 0"},
        {"a prefixed risposta does not switch reading on",
         "<r xmlns:x=\"urn:x\"><x:risposta><esito>OK</esito></x:risposta></r>",
         "-/-/- cards 0 log 0"},
        {"a default namespace is no prefix",
         "<r xmlns=\"urn:lumacard\"><risposta><esito>KO</esito></risposta>" + carta + "</r>",
         "KO/-/- cards 0 log 1"},
        {"an undeclared prefix is an error",
         "<r><risposta><esito>OK</esito><y:a>1</y:a></risposta></r>", notRead},
        {"a document that breaks off", reply("OK", "", "m", carta).substr(0, 90), notRead},
        {"empty text", "", notRead},
        {"text after a NUL is not part of the document",
         std::string("<r><risposta><esito>OK</esito></risposta></r>") + '\0' + "<x",
         "OK/-/- cards 0 log 0"},
    };
    for (const auto& [name, xml, expected] : cases) {
        test::LogCapture log;
        bool ok = false;
        Opt esito = "untouched", codice = "untouched", messaggio = "untouched";
        ListaCarte carte{std::make_shared<CartaDiPagamento>()};
        XMLParsingUtil::parseListaCarte(xml, ok, esito, codice, messaggio, carte);
        EXPECT_EQ((ok ? "" : "not read ") + esito.value_or("-") + "/" + codice.value_or("-") + "/" +
                      messaggio.value_or("-") + " cards " + std::to_string(carte.size()) + " log " +
                      std::to_string(log.lines.size()),
                  expected)
            << name;
        for (const auto& line : log.lines) {
            EXPECT_EQ(line, "KO FOUND INTERROMPO IL PARSING!");
        }
    }
}

TEST(EsitoXMLParser, HooksSeeLocalNamesAndTheTextSinceTheLastStartTag) {
    RecordingParser p;
    ASSERT_TRUE(p.parseXMLString(
        "<root xmlns:x=\"urn:x\"><before>lost</before><risposta><esito>OK</esito></risposta>"
        "<x:carta><a>1<b>2</b>3</a></x:carta><c>\xC2\xA0</c></root>"));
    EXPECT_EQ(p.starts,
              (std::vector<std::string>{"root", "before", "esito", "carta", "a", "b", "c"}));
    // `before` ends before risposta: not handed over. `a` holds only what followed `b`'s end.
    EXPECT_EQ(p.ends, (std::vector<std::string>{"b=2", "a=3", "c=\u00a0", "root="}));
    EXPECT_TRUE(p.done());
    EXPECT_FALSE(p.failed());
    EXPECT_TRUE(p.parsingRisposta());
}

TEST(EsitoXMLParser, LogoutOutcomeOnly) {
    bool ok = false;
    Opt esito, codice, messaggio;
    XMLParsingUtil::parseEsitoString(reply("OK", "", "Arrivederci"), ok, esito, codice, messaggio);
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::tuple(esito, codice, messaggio),
              std::tuple(Opt("OK"), Opt(""), Opt("Arrivederci")));
    XMLParsingUtil::parseEsitoString(std::nullopt, ok, esito, codice, messaggio);
    EXPECT_FALSE(ok);
    EXPECT_EQ(messaggio, "Arrivederci");
}
