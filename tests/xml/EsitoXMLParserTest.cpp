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

TEST(EsitoXMLParser, OutcomeBlockRules) {
    struct Case {
        const char* name;
        std::string xml;
        bool ok;
        Opt esito, codice, messaggio;
        std::size_t cardsRead;
        std::size_t koLogLines;
    };
    const std::string carta = "<carta><numero>1</numero></carta>";
    const Case cases[] = {
        {"KO stops before the payload", reply("KO", "sessione_scaduta", "Sessione scaduta", carta),
         true, "KO", "sessione_scaduta", "Sessione scaduta", 0, 1},
        {"lower-case ko does not stop reading", reply("ko", "sessione_scaduta", "m", carta), true,
         "ko", "sessione_scaduta", "m", 1, 0},
        {"OK reads the payload", reply("OK", "", "", carta), true, "OK", "", "", 1, 0},
        {"esito after the close of risposta never stops reading",
         "<r><risposta><messaggio>m</messaggio></risposta><esito>KO</esito>" + carta + "</r>", true,
         "KO", Opt(), "m", 1, 0},
        {"esito before risposta is ignored",
         "<r><esito>KO</esito><risposta><messaggio>m</messaggio></risposta>" + carta + "</r>", true,
         Opt(), Opt(), "m", 1, 0},
        {"payload inside risposta is read even for KO",
         "<r><risposta><esito>KO</esito>" + carta + "</risposta>" + carta + "</r>", true, "KO",
         Opt(), Opt(), 1, 1},
        {"blanks around the outcome word are kept",
         "<r><risposta><esito> KO\n</esito></risposta>" + carta + "</r>", true, " KO\n", Opt(),
         Opt(), 1, 0},
        {"empty elements give empty strings",
         "<r><risposta><esito/><codice_esito></codice_esito><messaggio/></risposta></r>", true, "",
         "", "", 0, 0},
        {"a later messaggio replaces the first",
         "<r><risposta><esito>OK</esito><messaggio>uno</messaggio></risposta>"
         "<messaggio>due</messaggio></r>",
         true, "OK", Opt(), "due", 0, 0},
        {"no risposta: everything absent",
         "<r><esito>OK</esito><messaggio>x</messaggio>" + carta + "</r>", true, Opt(), Opt(), Opt(),
         0, 0},
        {"entities, character references and CDATA are text",
         "<r><risposta><esito>OK</esito><messaggio>a &amp; b&#233; <![CDATA[<c>]]></messaggio>"
         "</risposta></r>",
         true, "OK", Opt(), "a & bé <c>", 0, 0},
        {"a declared namespace prefix is never matched at its end",
         "<r xmlns:x=\"urn:x\"><risposta><esito>OK</esito><x:messaggio>m</x:messaggio>"
         "</risposta><x:carta><numero>1</numero></x:carta></r>",
         true, "OK", Opt(), Opt(), 0, 0},
        {"a prefixed risposta does not switch reading on",
         "<r xmlns:x=\"urn:x\"><x:risposta><esito>OK</esito></x:risposta></r>", true, Opt(), Opt(),
         Opt(), 0, 0},
        {"a default namespace is no prefix",
         "<r xmlns=\"urn:lumacard\"><risposta><esito>KO</esito></risposta>" + carta + "</r>", true,
         "KO", Opt(), Opt(), 0, 1},
        {"an undeclared prefix is an error",
         "<r><risposta><esito>OK</esito><y:a>1</y:a></risposta></r>", false, Opt(), Opt(), Opt(), 0,
         0},
        {"a document that breaks off", reply("OK", "", "m", carta).substr(0, 90), false, Opt(),
         Opt(), Opt(), 0, 0},
        {"empty text", "", false, Opt(), Opt(), Opt(), 0, 0},
        {"text after a NUL is not part of the document",
         std::string("<r><risposta><esito>OK</esito></risposta></r>") + '\0' + "<x", true, "OK",
         Opt(), Opt(), 0, 0},
    };
    for (const auto& c : cases) {
        test::LogCapture log;
        bool ok = false;
        Opt esito = "untouched", codice = "untouched", messaggio = "untouched";
        ListaCarte carte{std::make_shared<CartaDiPagamento>()};
        XMLParsingUtil::parseListaCarte(c.xml, ok, esito, codice, messaggio, carte);
        EXPECT_EQ(ok, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(esito, c.esito) << c.name;
            EXPECT_EQ(codice, c.codice) << c.name;
            EXPECT_EQ(messaggio, c.messaggio) << c.name;
            EXPECT_EQ(carte.size(), c.cardsRead) << c.name;
        } else {
            // Nothing but ok is written when the document could not be read.
            EXPECT_EQ(esito, "untouched") << c.name;
            EXPECT_EQ(codice, "untouched") << c.name;
            EXPECT_EQ(messaggio, "untouched") << c.name;
            EXPECT_EQ(carte.size(), 1u) << c.name;
        }
        EXPECT_EQ(log.lines.size(), c.koLogLines) << c.name;
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
    EXPECT_EQ(esito, "OK");
    EXPECT_EQ(codice, "");
    EXPECT_EQ(messaggio, "Arrivederci");
    XMLParsingUtil::parseEsitoString(std::nullopt, ok, esito, codice, messaggio);
    EXPECT_FALSE(ok);
    EXPECT_EQ(messaggio, "Arrivederci");
}
