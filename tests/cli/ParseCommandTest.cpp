#include "cli/ParseCommand.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

using namespace vestrino;
using nlohmann::json;

namespace {

struct Run {
    int code;
    std::string out, err;
};

Run parse(const std::string& kind, const std::string& file, bool asJson,
          const std::string& stdinText = "") {
    std::istringstream in(stdinText);
    std::ostringstream out, err;
    const int code = ParseCommand::run(kind, file, asJson, in, out, err);
    return {code, out.str(), err.str()};
}

const std::string kSamples = std::string(VESTRINO_SOURCE_DIR) + "/resources/samples/";

} // namespace

TEST(ParseCommand, StatementAsJson) {
    const auto r = parse("movimenti", kSamples + "movimenti.xml", true);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = json::parse(r.out);
    EXPECT_EQ(j["ok"], true);
    EXPECT_EQ(j["esito"], "OK");
    EXPECT_EQ(j["codiceEsito"], "");
    EXPECT_EQ(j["carta"]["serial"], "5333171012345678");
    EXPECT_EQ(j["carta"]["alias"], nullptr);
    EXPECT_EQ(j["saldo"]["saldoContabile"], "1219,40"); // no-break space removed on decoding
    ASSERT_EQ(j["listaMovimenti"].size(), 8u);
    const auto& first = j["listaMovimenti"][0];
    EXPECT_EQ(first["dataContabile"], "02/11/2026");
    EXPECT_EQ(first["accrediti"], "1250,00");
    EXPECT_EQ(first["addebiti"], "");
    EXPECT_EQ(first["tipoMovimento"], 2);
    EXPECT_EQ(j["listaMovimenti"][7]["descrizione"],
              "PAGAMENTO POS TRATTORIA DA ENZO \u2013 CAFF\u00c8");
    // Keys in the stable order.
    EXPECT_EQ(r.out.rfind("{\"ok\":true,\"esito\":", 0), 0u);
}

TEST(ParseCommand, SummaryAndOutcomes) {
    auto r = parse("movimenti", kSamples + "movimenti.xml", false);
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("8 movimenti"), std::string::npos);
    EXPECT_NE(r.out.find("12/11/2026  12/11/2026  Ricarica carta        +200,00  RICARICA CARTA DA "
                         "SPORTELLO"),
              std::string::npos)
        << r.out;

    r = parse("esito", "-", true,
              "<r><risposta><esito>KO</esito><codice_esito>sessione_scaduta"
              "</codice_esito></risposta></r>");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(json::parse(r.out),
              json::parse(R"({"ok":true,"esito":"KO","codiceEsito":"sessione_scaduta",)"
                          R"("messaggio":null})"));

    r = parse("carte", "-", true, "<r><risposta>");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "{\"ok\":false}\n");

    r = parse("carte", "-", true, "<r>caff\xE8</r>"); // not UTF-8: no text at all
    EXPECT_EQ(r.code, 1);

    EXPECT_EQ(parse("nonsense", "-", true).code, 2);
    EXPECT_EQ(parse("carte", kSamples + "missing.xml", true).code, 2);
}

TEST(ParseCommand, CommandLineExitCodes) {
    const std::string cli = VESTRINO_CLI;
    const std::pair<std::string, int> cases[] = {
        {cli + " parse carte " + kSamples + "carte.xml --json >/dev/null", 0},
        {cli + " --json parse carte " + kSamples + "carte.xml >/dev/null", 0},
        {"echo '<oops' | " + cli + " parse esito - >/dev/null", 1},
        {cli + " parse >/dev/null 2>&1", 2},
        {cli + " frobnicate >/dev/null 2>&1", 2},
    };
    for (const auto& [command, code] : cases) {
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), code) << command;
    }
}
