#include "CsvReader.h"
#include "ProgramRun.h"
#include "StandinFixture.h"
#include "store/OfflineCopy.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace vestrino;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

class ServiceCommandsTest : public test::StandinFixture {
protected:
    struct Run {
        int code;
        std::string out;
    };
    // Runs vestrino-cli against the stand-in with `input` on standard input (what it says on
    // standard error kept only when asked, after standard output).
    Run cli(const std::string& args, const std::string& input = "", bool errors = false) {
        const auto inputFile = tempDir() / "stdin.txt";
        std::FILE* f = std::fopen(inputFile.c_str(), "w");
        std::fputs(input.c_str(), f);
        std::fclose(f);
        const std::string command = std::string(VESTRINO_CLI) + " --host " +
                                    server().hostAndPort() + " --cafile " +
                                    server().caFile().string() + " --reachability 2 --documents " +
                                    (tempDir() / "cli-docs").string() + " " + args + " < " +
                                    inputFile.string() + (errors ? " 2>&1" : " 2>/dev/null");
        std::FILE* p = ::popen(command.c_str(), "r");
        std::string out;
        char buf[4096];
        while (const auto n = std::fread(buf, 1, sizeof buf, p)) {
            out.append(buf, n);
        }
        const int status = ::pclose(p);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
};

} // namespace

TEST_F(ServiceCommandsTest, CardsStatementAndTheStoredFile) {
    auto r = cli("--json cards --user mario.rossi", "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    auto j = json::parse(r.out);
    EXPECT_EQ(j["code"], 0);
    EXPECT_EQ(j["step"], "listaCarte");
    ASSERT_EQ(j["carte"].size(), 3u);
    EXPECT_EQ(j["carte"][0]["desc"], "0001234567");
    EXPECT_EQ(j["carte"][0]["alias"], nullptr);
    // A session per command: logged in and out again.
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/logout.do"), 1u);

    r = cli("--json store show --user mario.rossi");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(json::parse(r.out)["carte"].size(), 3u);

    r = cli("statement --user mario.rossi 0001234569 --json", "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    j = json::parse(r.out);
    EXPECT_EQ(j["step"], "listaMovimenti");
    EXPECT_EQ(j["carta"]["serial"], "5333171055554444");
    EXPECT_EQ(j["saldo"]["saldoDisponibile"], "2410,00");
    EXPECT_EQ(j["listaMovimenti"].size(), 8u);

    r = cli("statement --user mario.rossi 0001234569", "lumacard1\n");
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Disponibile:  2410,00"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("8 movimenti"), std::string::npos) << r.out;
}

// The documents folder the terminal client makes is its owner's only; a card file it could not
// read is set aside by the next login, and listed.
TEST_F(ServiceCommandsTest, ADamagedCardFileIsSetAsideAndListed) {
    const auto docs = tempDir() / "cli-docs";
    fs::remove_all(docs);
    ASSERT_EQ(cli("--json cards --user mario.rossi", "lumacard1\n").code, 0);
    for (const auto& folder : {docs, docs / "mario.rossi_listaCarte"}) {
        EXPECT_TRUE(fs::exists(folder)) << folder;
    }
    EXPECT_EQ(fs::status(docs).permissions() & fs::perms::all, fs::perms::owner_all);
    std::ofstream(docs / "mario.rossi_listaCarte", std::ios::binary) << "not a card file";
    ASSERT_EQ(cli("--json cards --user mario.rossi", "lumacard1\n").code, 0);
    const auto r = cli("store show --user mario.rossi");
    EXPECT_EQ(r.code, 0) << r.out;
    const auto listed = r.out.find("Messo da parte, illeggibile: " +
                                   (docs / "mario.rossi_listaCarte.unreadable-").string());
    EXPECT_NE(listed, std::string::npos) << r.out;
}

TEST_F(ServiceCommandsTest, FailuresAndTheirCodes) {
    auto r = cli("--json cards --user mario.rossi", "sbagliata\n");
    EXPECT_EQ(r.code, 1);
    auto j = json::parse(r.out);
    EXPECT_EQ(j["code"], -4);
    EXPECT_EQ(j["step"], "login");
    EXPECT_EQ(j["messaggio"], "Nome utente o password non corretti.");
    EXPECT_EQ(j["carte"], nullptr);

    r = cli("--json anon-statement 5375123400001117 28 04", "000\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(json::parse(r.out)["code"], -40);
    r = cli("--json anon-statement 5375123400001117 28 04", "739\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(json::parse(r.out)["carta"]["anonima"], true);

    r = cli("--json atm 41.9 12.49 5");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(json::parse(r.out)["elencoLumaSpot"].size(), 2u);

    const auto png = (tempDir() / "banner.png").string();
    r = cli("--json banner " + png);
    EXPECT_EQ(r.code, 0);
    const auto banner = json::parse(r.out);
    EXPECT_EQ(banner["format"], "PNG");
    EXPECT_EQ(banner["width"], 320);
    EXPECT_EQ(banner["height"], 480);
    // The bytes as the service sent them.
    std::ifstream saved(png, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), server().data().banner);

    r = cli("--json store show --user nessuno");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "{\"carte\":null,\"keptAside\":[]}\n");
    EXPECT_EQ(cli("cards").code, 2); // --user is required
}

TEST_F(ServiceCommandsTest, ATimeLimitIsAlwaysALimit) {
    // 0 would be no limit to libcurl; NaN and huge values overflow the conversion.
    for (const char* seconds : {"0", "-1", "nan", "inf", "1e300", "601", "2x", "0.0001"}) {
        EXPECT_EQ(cli(std::string("probe ") + seconds).code, 2) << seconds;
    }
    EXPECT_EQ(cli("--json probe 0.5").out, "{\"ok\":true}\n");
}

// The statement commands write every row as CSV when asked, and the cash-machine search lists
// nearest first with each distance.
TEST_F(ServiceCommandsTest, ExportsOfEveryRowAndCashMachinesNearestFirst) {
    const auto file = tempDir() / "cli-statement.csv";
    std::filesystem::remove(file);
    auto r = cli("statement --user mario.rossi 0001234569 --csv " + file.string(), "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::ifstream in(file, std::ios::binary);
    const std::string csv{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::vector<std::string>> rows;
    ASSERT_TRUE(test::readCsv(csv, rows));
    const auto& card = *server().data().findCard("0001234569");
    ASSERT_EQ(rows.size(), card.movimenti.size() + 1);
    // Every row of the card, in the statement screen's order: newest value date first (the
    // fields are the CSV writer's own tests).
    std::multiset<std::string> expected, written;
    for (const auto& m : card.movimenti) {
        expected.insert(m.descrizione);
    }
    for (std::size_t i = 1; i < rows.size(); ++i) {
        written.insert(rows[i][2]);
        if (i > 1) {
            EXPECT_GE(rows[i - 1][1], rows[i][1]) << "row " << i;
        }
    }
    EXPECT_EQ(written, expected);

    // OFX and QIF of the same rows, read by libofx; exported twice, the same transaction ids.
    const auto ofx = (tempDir() / "cli-statement.ofx").string();
    const auto qif = (tempDir() / "cli-statement.qif").string();
    std::vector<std::string> ids[2];
    for (auto& exportIds : ids) {
        r = cli("statement --user mario.rossi 0001234569 --ofx " + ofx + " --qif " + qif,
                "lumacard1\n");
        ASSERT_EQ(r.code, 0) << r.out;
        const auto dump = test::ProgramRun::of("ofxdump " + ofx + " 2>&1");
        EXPECT_EQ(dump.code, 0) << dump.out;
        EXPECT_EQ(dump.out.find("LibOFX ERROR"), std::string::npos) << dump.out;
        std::istringstream lines(dump.out);
        for (std::string line; std::getline(lines, line);) {
            if (const auto at = line.find("ID for this transaction: "); at != std::string::npos) {
                exportIds.push_back(line.substr(at + 25));
            }
        }
        EXPECT_EQ(exportIds.size(), card.movimenti.size()) << dump.out;
    }
    EXPECT_EQ(ids[0], ids[1]);
    std::ifstream qifIn(qif, std::ios::binary);
    const std::string qifText{std::istreambuf_iterator<char>(qifIn), {}};
    EXPECT_EQ(static_cast<std::size_t>(std::count(qifText.begin(), qifText.end(), '^')),
              card.movimenti.size() + 1);
    // A file that cannot be written: a usage error, said.
    r = cli("anon-statement 5375123400001117 28 04 --csv /nonexistent/dir/x.csv", "739\n");
    EXPECT_EQ(r.code, 2);
    r = cli("anon-statement 5375123400001117 28 04 --ofx /nonexistent/dir/x.ofx", "739\n", true);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("impossibile scrivere /nonexistent/dir/x.ofx"), std::string::npos)
        << r.out;

    r = cli("--json atm 41.9 12.49 20");
    ASSERT_EQ(r.code, 0) << r.out;
    const auto j = json::parse(r.out);
    const auto& list = j["elencoLumaSpot"];
    ASSERT_EQ(list.size(), 3u);
    double previous = 0;
    for (const auto& a : list) {
        ASSERT_TRUE(a["distanzaKm"].is_number()) << a;
        EXPECT_GE(a["distanzaKm"].get<double>(), previous);
        previous = a["distanzaKm"].get<double>();
    }
    EXPECT_EQ(list[0]["ufficio"], "ROMA CENTRO - PIAZZA SAN SILVESTRO");
    EXPECT_NEAR(list[0]["distanzaKm"].get<double>(), 0.741, 0.001);
    r = cli("atm 41.9 12.49 20");
    EXPECT_NE(r.out.find("0,7 km"), std::string::npos) << r.out;
}

TEST_F(ServiceCommandsTest, StatementByMonthTextAndJsonAgreeWithTheRows) {
    // Every row in one month, oldest month first; a month's kinds add up to what went out (the
    // sums are the statement model's own tests).
    auto r = cli("statement --user mario.rossi 0001234567 --json", "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    const auto rows = json::parse(r.out)["listaMovimenti"];
    r = cli("statement --user mario.rossi 0001234567 --by-month --json", "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    const auto months = json::parse(r.out)["mesi"];
    ASSERT_GE(months.size(), 2u);
    std::size_t count = 0;
    std::string previous;
    for (const auto& m : months) {
        SCOPED_TRACE(m.dump());
        count += m["movimenti"].get<std::size_t>();
        EXPECT_LT(previous, m["mese"].get<std::string>());
        previous = m["mese"];
        std::int64_t byKind = 0;
        for (const auto& [kind, c] : m["usciteCentsPerTipo"].items()) {
            byKind += c.get<std::int64_t>();
        }
        EXPECT_EQ(byKind, m["usciteCents"].get<std::int64_t>());
    }
    EXPECT_EQ(count, rows.size());
    // The text: a line a month with its label and the same figures as the JSON.
    r = cli("statement --user mario.rossi 0001234567 --by-month", "lumacard1\n");
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.starts_with(std::to_string(months.size()) + " mesi\n")) << r.out;
    for (const auto& m : months) {
        const std::string label = m["etichetta"];
        const auto line = r.out.find("\n" + label + " ");
        ASSERT_NE(line, std::string::npos) << label << "\n" << r.out;
        const std::string text = r.out.substr(line + 1, r.out.find('\n', line + 1) - line - 1);
        EXPECT_NE(text.find(" " + m["uscite"].get<std::string>() + " "), std::string::npos) << text;
        EXPECT_NE(text.find(" " + m["entrate"].get<std::string>() + " "), std::string::npos)
            << text;
    }
    EXPECT_EQ(r.out.find("Descrizione"), std::string::npos); // the months in place of the rows
}

// What a newcomer at the terminal meets: the expiry as printed on the card, the rows newest
// first, months that fit a terminal, a failure that names the host, the replies' diagnostics
// only when asked for.
TEST_F(ServiceCommandsTest, TheTerminalAsANewcomerMeetsIt) {
    const std::pair<const char*, int> expiries[] = {
        {"04/28", 0}, {"28 04", 0}, {"04/28 04", 2}, {"28", 2}};
    for (const auto& [expiry, code] : expiries) {
        EXPECT_EQ(
            cli(std::string("--json anon-statement 5375123400001117 ") + expiry, "739\n").code,
            code)
            << expiry;
    }
    // The text's rows: newest value date first (dd/MM/yyyy compared as yyyy-MM-dd).
    auto r = cli("statement --user mario.rossi 0001234567", "lumacard1\n");
    ASSERT_EQ(r.code, 0);
    std::vector<std::string> dates;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string booked, value;
        if (words >> booked >> value && value.size() == 10 && value[2] == '/') {
            dates.push_back(value.substr(6) + value.substr(3, 2) + value.substr(0, 2));
        }
    }
    ASSERT_GE(dates.size(), 10u) << r.out;
    EXPECT_TRUE(std::is_sorted(dates.rbegin(), dates.rend())) << r.out;
    r = cli("statement --user mario.rossi 0001234567 --by-month", "lumacard1\n");
    ASSERT_EQ(r.code, 0);
    std::istringstream months(r.out);
    for (std::string line; std::getline(months, line);) {
        EXPECT_LE(line.size(), 100u) << line; // bytes: never fewer than the columns
    }
    // The language as the application's: the environment's, or --lang; JSON never changes.
    struct Language {
        const char* environment; // LANGUAGE
        const char* command;
        const char* line;
    };
    const Language languages[] = {
        {"en_GB", "statement", "Available:    2410,00"},
        {"it", "statement", "Disponibile:  2410,00"},
        {"it", "--lang en statement", "Available:    2410,00"},
        {"en", "--lang it statement", "Disponibile:  2410,00"},
    };
    const char* before = std::getenv("LANGUAGE");
    const std::string kept = before ? before : "";
    for (const auto& l : languages) {
        ::setenv("LANGUAGE", l.environment, 1);
        r = cli(std::string(l.command) + " --user mario.rossi 0001234569", "lumacard1\n");
        EXPECT_NE(r.out.find(l.line), std::string::npos) << l.command << ":\n" << r.out;
    }
    if (before) {
        ::setenv("LANGUAGE", kept.c_str(), 1);
    } else {
        ::unsetenv("LANGUAGE");
    }
    r = cli("--lang en statement --user mario.rossi 0001234569", "lumacard1\n");
    EXPECT_NE(r.out.find("8 transactions"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Description"), std::string::npos) << r.out;
    // Diagnostics of a refused login only with --verbose.
    EXPECT_EQ(cli("cards --user mario.rossi", "sbagliata\n", true).out.find("KO FOUND"),
              std::string::npos);
    EXPECT_NE(cli("--verbose cards --user mario.rossi", "sbagliata\n", true).out.find("KO FOUND"),
              std::string::npos);
}

TEST(ServiceCommandsUnreached, AFailedConnectionNamesTheHostAndTheCaFile) {
    // A port with no server on 127.0.0.1.
    const std::string command = std::string(VESTRINO_CLI) +
                                " --host 127.0.0.1:9 --reachability 2 cards --user u 2>&1 <<< pw";
    std::FILE* p = ::popen(("bash -c '" + command + "'").c_str(), "r");
    std::string out;
    char buf[4096];
    while (const auto n = std::fread(buf, 1, sizeof buf, p)) {
        out.append(buf, n);
    }
    EXPECT_EQ(WEXITSTATUS(::pclose(p)), 1);
    EXPECT_NE(out.find("https://127.0.0.1:9"), std::string::npos) << out;
    EXPECT_NE(out.find("--cafile"), std::string::npos) << out;
}

// The offline copy from the terminal: shown with the right password only, then removed.
TEST_F(ServiceCommandsTest, TheOfflineCopyShownAndForgotten) {
    const auto folder = tempDir() / "cli-docs";
    std::filesystem::create_directories(folder);
    const auto path = OfflineCopy::pathFor(folder, "mario.rossi");
    OfflineData data;
    data.user = "mario.rossi";
    data.cardsAt = WallTime(std::chrono::milliseconds(1796821500000));
    auto card = std::make_shared<CartaDiPagamento>();
    card->setSerial("5333171012345670");
    card->setDesc("0001234567");
    data.carte = {card};
    OfflineStatement s;
    s.fetchedAt = data.cardsAt;
    s.movimenti = {std::make_shared<Movimento>(), std::make_shared<Movimento>()};
    data.putStatement(*card, s);
    auto key = OfflineCopy::keyFor(path, "lumacard1");
    ASSERT_TRUE(key && OfflineCopy::write(path, data, *key));

    auto r = cli("--json cache show --user mario.rossi", "lumacard1\n");
    ASSERT_EQ(r.code, 0) << r.out;
    auto j = json::parse(r.out);
    EXPECT_EQ(j["utente"], "mario.rossi");
    EXPECT_EQ(j["carte"][0]["serial"], "5333171012345670");
    EXPECT_EQ(j["estratti"][0]["carta"], "codice:0001234567");
    EXPECT_EQ(j["estratti"][0]["movimenti"].size(), 2u);

    r = cli("cache show --user mario.rossi", "sbagliata\n", true);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("la password non apre la copia"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(path));

    r = cli("cache forget --user mario.rossi");
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(cli("cache show --user mario.rossi", "lumacard1\n").code, 1);
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/login.do"), 0u); // no service needed
}
