// OFX and QIF exports read back by readers that are not ours: libofx's ofxdump (what GnuCash,
// KMyMoney and HomeBank import with), python3-ofxparse, and Perl's Finance::QIF.
#include "ProgramRun.h"
#include "StandinFixture.h"
#include "core/DateFormatter.h"
#include "entities/PayeeName.h"
#include "entities/StatementFile.h"
#include "entities/StatementFitids.h"
#include "entities/StatementOfx.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

using namespace vestrino;
using nlohmann::json;

namespace {

Date day(const char* ddMMyyyy) {
    return *DateFormatter("dd/MM/yyyy").dateFromString(ddMMyyyy);
}

// A transaction as the statement's parser gives it (dates "dd/MM/yyyy", "" for none).
MovimentoPtr row(const char* text, std::int32_t type, const char* valuta, const char* contabile,
                 const char* debit, const char* credit) {
    auto m = std::make_shared<Movimento>();
    m->setDescrizione(std::string(text));
    m->setTipoMovimento(type);
    if (*valuta) {
        m->setDataValuta(day(valuta));
    }
    if (*contabile) {
        m->setDataContabile(day(contabile));
    }
    m->setAddebiti(std::string(debit));
    m->setAccrediti(std::string(credit));
    return m;
}

std::shared_ptr<CartaDiPagamento> card(const char* number) {
    auto c = std::make_shared<CartaDiPagamento>();
    c->setSerial(std::string(number));
    return c;
}

std::filesystem::path written(const std::string& name, const std::string& text) {
    const auto path = test::StandinFixture::tempDir() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// What one reader says of a transaction.
struct ReadRow {
    std::string type, amount, id, name, memo, date;
};

// ofxdump's report, a transaction at a time ("    Key: value" lines after
// "ofx_proc_transaction():"); dates as it prints them in the zone it runs in.
std::vector<ReadRow> ofxdumpRows(const std::string& out) {
    std::vector<ReadRow> rows;
    std::istringstream in(out);
    std::string line;
    bool inTransaction = false;
    while (std::getline(in, line)) {
        if (line.starts_with("ofx_")) {
            inTransaction = line.starts_with("ofx_proc_transaction");
            if (inTransaction) {
                rows.emplace_back();
            }
            continue;
        }
        const auto colon = line.find(": ");
        if (!inTransaction || colon == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(line.find_first_not_of(' '), colon - 4);
        const std::string value = line.substr(colon + 2);
        auto& r = rows.back();
        if (key == "Transaction type") {
            r.type = value.substr(0, value.find(':'));
        } else if (key == "Total money amount") {
            r.amount = value;
        } else if (key == "Financial institution's ID for this transaction") {
            r.id = value;
        } else if (key == "Name of payee or transaction description") {
            r.name = value;
        } else if (key == "Extra transaction information (memo)") {
            r.memo = value;
        } else if (key == "Date posted") {
            r.date = value;
        }
    }
    return rows;
}

// "Sep  5 ... 2026" as ofxdump prints a day (the C library's %c in the C locale).
bool printsDay(const std::string& printed, const std::string& isoDay) {
    static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = std::stoi(isoDay.substr(5, 2));
    const int dayOfMonth = std::stoi(isoDay.substr(8, 2));
    char expected[16];
    std::snprintf(expected, sizeof expected, "%s %2d ", kMonths[month - 1], dayOfMonth);
    return printed.find(expected) != std::string::npos &&
           printed.find(" " + isoDay.substr(0, 4)) != std::string::npos;
}

std::string script(const char* name) {
    return std::string(VESTRINO_SOURCE_DIR) + "/tests/scripts/" + name;
}

// What a row must come out as, in every reader.
struct Expected {
    std::string type, amount, name, memo, isoDay;
};

} // namespace

TEST(StatementExports, ReadBackWholeByLibofxOfxparseAndFinanceQif) {
    struct Case {
        const char* name;
        ListaMovimenti rows; // newest first, as the statement shows them
        std::vector<Expected> expected;
        std::size_t leftOut;
    };
    const std::string accents = "PAGAMENTO POS CAFFÈ & PIÙ <ROMA>"; // 32 characters
    const Case cases[] = {
        {"a statement of every kind of row",
         {
             row("PAGAMENTO ONLINE €", 4, "02/11/2026", "03/11/2026", "1.234,56", ""),
             row("RICARICA CARTA LUMACARD 5375", 2, "12/09/2026", "12/09/2026", "20,00", ""),
             row("COMMISSIONE", -1, "11/09/2026", "11/09/2026", "n/d", ""),
             row("PRELIEVO ATM € 100 VIA DEL CORSO ROMA CENTRO STORICO", 0, "10/09/2026",
                 "11/09/2026", "100,00", ""),
             row("RICARICA CARTA\r\nDA\tSPORTELLO", 1, "", "06/09/2026", "", "50,00"),
             row(accents.c_str(), 4, "05/09/2026", "05/09/2026", "3,50", ""),
             row(accents.c_str(), 4, "05/09/2026", "05/09/2026", "3,50", ""),
         },
         {
             {"POS", "-1234.56", "PAGAMENTO ONLINE €", "", "2026-11-02"},
             {"XFER", "-20.00", "RICARICA CARTA LUMACARD 5375", "", "2026-09-12"},
             {"ATM", "-100.00", "PRELIEVO ATM € 100 VIA DEL CORSO",
              "PRELIEVO ATM € 100 VIA DEL CORSO ROMA CENTRO STORICO", "2026-09-10"},
             {"CREDIT", "50.00", "RICARICA CARTA DA SPORTELLO", "", "2026-09-06"},
             {"POS", "-3.50", accents, "", "2026-09-05"},
             {"POS", "-3.50", accents, "", "2026-09-05"},
         },
         1},
        {"an empty statement", {}, {}, 0},
    };
    Saldo saldo;
    saldo.setSaldoAl("30/11/2026");
    saldo.setSaldoContabile("1219,40");
    saldo.setSaldoDisponibile("1.204,40");
    const auto carta = card("5333171012345670");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StatementSource source{c.rows, carta.get(), &saldo, day("09/12/2026")};
        const auto ofx = StatementFile::write(StatementFormat::Ofx, source);
        const auto qif = StatementFile::write(StatementFormat::Qif, source);
        EXPECT_EQ(ofx.rows, c.expected.size());
        EXPECT_EQ(ofx.leftOut, c.leftOut);
        EXPECT_EQ(qif.rows, c.expected.size());
        const auto ofxFile = written("export.ofx", ofx.text);
        const auto qifFile = written("export.qif", qif.text);

        // The bytes of SGML: entities for "&", "<", ">", a day's noon with its zone, summer and
        // winter time.
        if (!c.rows.empty()) {
            EXPECT_NE(ofx.text.find("\r\n<NAME>PAGAMENTO POS CAFFÈ &amp; PIÙ &lt;ROMA&gt;\r\n"),
                      std::string::npos);
            EXPECT_NE(ofx.text.find("<DTPOSTED>20260905120000.000[+2:CEST]\r\n"),
                      std::string::npos);
            EXPECT_NE(ofx.text.find("<DTPOSTED>20261102120000.000[+1:CET]\r\n"), std::string::npos);
        }

        // libofx, in zones nine hours either side of the device's: no error, the same day.
        std::vector<std::string> ids;
        for (const char* zone : {"America/Los_Angeles", "Asia/Tokyo"}) {
            SCOPED_TRACE(zone);
            const auto dump = test::ProgramRun::of("TZ=" + std::string(zone) + " ofxdump " +
                                                   ofxFile.string() + " 2>&1");
            EXPECT_EQ(dump.code, 0) << dump.out;
            EXPECT_EQ(dump.out.find("LibOFX ERROR"), std::string::npos) << dump.out;
            EXPECT_NE(dump.out.find("Account #: 5333171012345670"), std::string::npos);
            EXPECT_NE(dump.out.find("Account type: CHECKING"), std::string::npos);
            EXPECT_NE(dump.out.find("Ledger balance: 1219.40"), std::string::npos);
            EXPECT_NE(dump.out.find("Available balance: 1204.40"), std::string::npos);
            const auto read = ofxdumpRows(dump.out);
            ASSERT_EQ(read.size(), c.expected.size()) << dump.out;
            ids.clear();
            for (std::size_t i = 0; i < read.size(); ++i) {
                const auto& e = c.expected[i];
                EXPECT_EQ(read[i].type, e.type) << i;
                EXPECT_EQ(read[i].amount, e.amount) << i;
                EXPECT_EQ(read[i].name, e.name) << i;
                EXPECT_EQ(read[i].memo, e.memo) << i;
                EXPECT_TRUE(printsDay(read[i].date, e.isoDay)) << read[i].date << " " << e.isoDay;
                ids.push_back(read[i].id);
            }
            EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
        }

        // ofxparse: the account, the balances and the same rows (its dates are in UTC).
        const auto parsed = test::ProgramRun::of(script("read_ofx.py") + " " + ofxFile.string());
        ASSERT_EQ(parsed.code, 0) << parsed.out;
        const auto j = json::parse(parsed.out);
        EXPECT_EQ(j["account_id"], "5333171012345670");
        EXPECT_EQ(j["routing_number"], "LUMACARD");
        EXPECT_EQ(j["account_type"], "CHECKING");
        EXPECT_EQ(j["currency"], "eur");
        EXPECT_EQ(j["balance"], "1219.40");
        EXPECT_EQ(j["available_balance"], "1204.40");
        ASSERT_EQ(j["transactions"].size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const auto& t = j["transactions"][i];
            const auto& e = c.expected[i];
            EXPECT_EQ(t["amount"], e.amount) << i;
            EXPECT_EQ(t["payee"], e.name) << i;
            EXPECT_EQ(t["memo"], e.memo) << i;
            EXPECT_EQ(t["id"], ids[i]) << i;
            EXPECT_EQ(t["date"].get<std::string>().substr(0, 10), e.isoDay) << i;
        }

        // Finance::QIF: the account's header, then a record a row, the text UTF-8 and whole.
        const auto qifRead = test::ProgramRun::of(script("read_qif.pl") + " " + qifFile.string());
        ASSERT_EQ(qifRead.code, 0) << qifRead.out;
        const auto records = json::parse(qifRead.out);
        ASSERT_EQ(records.size(), c.expected.size() + 1) << qifRead.out;
        EXPECT_EQ(records[0]["header"], "Account");
        EXPECT_EQ(records[0]["name"], "Lumacard 5670");
        EXPECT_EQ(records[0]["type"], "Bank");
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const auto& r = records[i + 1];
            const auto& e = c.expected[i];
            EXPECT_EQ(r["header"], "Type:Bank") << i;
            EXPECT_EQ(r["date"], e.isoDay) << i;
            EXPECT_EQ(r["transaction"], e.amount) << i;
            EXPECT_EQ(r["payee"], e.name) << i;
            EXPECT_EQ(r.value("memo", ""), e.memo) << i;
        }
    }
}

namespace {

std::vector<std::string> fitidsIn(const std::string& ofx) {
    std::vector<std::string> ids;
    const std::regex fitid("<FITID>([^\r\n]*)");
    for (std::sregex_iterator it(ofx.begin(), ofx.end(), fitid), end; it != end; ++it) {
        ids.push_back((*it)[1]);
    }
    return ids;
}

} // namespace

// An importer knows a row it has booked by its id: the same row must have the same id in every
// later export, whatever else the statement holds then.
TEST(StatementExports, TransactionIdsStayTheSameAcrossExports) {
    const auto twin = [] { return row("CAFFÈ BAR", 4, "05/09/2026", "05/09/2026", "1,20", ""); };
    const ListaMovimenti first{row("RICARICA CARTA", 1, "07/09/2026", "07/09/2026", "", "50,00"),
                               twin(), twin(),
                               row("PAGAMENTO POS", 4, "04/09/2026", "05/09/2026", "9,99", "")};
    const auto carta = card("5333171012345670");
    const auto ofxOf = [&](const ListaMovimenti& rows, const char* now) {
        return StatementOfx::write({rows, carta.get(), nullptr, day(now)});
    };
    const auto ids = fitidsIn(ofxOf(first, "09/12/2026"));
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 4u);
    // The twins share all but their place among themselves.
    EXPECT_EQ(ids[1].substr(0, ids[1].size() - 1), ids[2].substr(0, ids[2].size() - 1));

    // Exported again another day: the same ids.
    EXPECT_EQ(fitidsIn(ofxOf(first, "20/12/2026")), ids);

    // Newer rows, among them a third twin (the service lists it first, being the newest): the
    // older rows keep their ids, the new twin gets a new one.
    ListaMovimenti later{row("PAGAMENTO POS", 4, "01/10/2026", "01/10/2026", "5,00", ""), twin()};
    later.insert(later.end(), first.begin(), first.end());
    const auto laterIds = fitidsIn(ofxOf(later, "02/10/2026"));
    ASSERT_EQ(laterIds.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(laterIds.begin() + 2, laterIds.end()), ids);
    EXPECT_EQ(std::set<std::string>(laterIds.begin(), laterIds.end()).size(), 6u);

    // A search that shows some of the rows: those keep their ids.
    const ListaMovimenti found{first[1], first[2]};
    EXPECT_EQ(fitidsIn(ofxOf(found, "09/12/2026")), (std::vector<std::string>{ids[1], ids[2]}));

    // The same amount written another way is the same row; another card's rows are others.
    ListaMovimenti rewritten = first;
    rewritten[3] = row("PAGAMENTO POS", 4, "04/09/2026", "05/09/2026", "9,990", "");
    rewritten[3]->setAddebiti("9,99");
    EXPECT_EQ(StatementFitids::of(rewritten, "5333171012345670"),
              StatementFitids::of(first, "5333171012345670"));
    const auto other = StatementFitids::of(first, "5333171099998888");
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_NE(other[i], ids[i]) << i;
    }
}

TEST(StatementExports, DescriptionsAsPayeeAndMemo) {
    const auto emoji = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) {
            text += "\xF0\x9F\x98\x80";
        }
        return text;
    };
    struct Case {
        std::string description, name, memo;
    };
    const std::string long40 = "PAGAMENTOPOSSENZASPAZIPERQUARANTACARATTE";
    const Case cases[] = {
        {"  BAR\n\nCENTRALE\x01 ", "BAR CENTRALE", ""},
        // An invalid byte is a "?", not a field a reader drops.
        {"CAFF\xC3", "CAFF?", ""},
        // Accents count as one character each.
        {"ÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈ", "ÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈ",
         "ÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈ"},
        // A word longer than the room is cut in it; otherwise after a whole word.
        {long40, long40.substr(0, 32), long40},
        {"PAGAMENTO POS SUPERMERCATO CONAD ROMA", "PAGAMENTO POS SUPERMERCATO CONAD",
         "PAGAMENTO POS SUPERMERCATO CONAD ROMA"},
        {"PAGAMENTO POS SUPERMERCATO CONADX ROMA", "PAGAMENTO POS SUPERMERCATO",
         "PAGAMENTO POS SUPERMERCATO CONADX ROMA"},
        {std::string(300, 'x'), std::string(32, 'x'), std::string(255, 'x')},
        // Two thirds of the room counted in characters, not bytes: this space is too early.
        {"ÈÈÈÈÈÈÈÈÈÈÈ ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ÈÈÈÈÈÈÈÈÈÈÈ ABCDEFGHIJKLMNOPQRST",
         "ÈÈÈÈÈÈÈÈÈÈÈ ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        // libofx holds a name in 96 bytes: 24 four-byte characters, never part of one.
        {emoji(32), emoji(24), emoji(32)},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const auto parts = PayeeName::of(c.description);
        EXPECT_EQ(parts.name, c.name) << c.description;
        EXPECT_EQ(parts.memo, c.memo) << c.description;
    }
}

// A balance the service sent as no amount, or on a day the month does not have, is not written
// as some other figure: the ledger balance is left out, the date is the export's.
TEST(StatementExports, BalancesThatCannotBeReadAreLeftOut) {
    Saldo saldo;
    saldo.setSaldoAl("31/02/2026");
    saldo.setSaldoContabile("n/d");
    saldo.setSaldoDisponibile("1.204,40");
    const auto carta = card("5333171012345670");
    const ListaMovimenti rows{row("PAGAMENTO POS", 4, "05/09/2026", "05/09/2026", "9,99", "")};
    const Date now = day("09/12/2026") + std::chrono::hours(15);
    const std::string ofx = StatementOfx::write({rows, carta.get(), &saldo, now});
    EXPECT_EQ(ofx.find("<LEDGERBAL>"), std::string::npos) << ofx;
    EXPECT_NE(ofx.find("<AVAILBAL>\r\n<BALAMT>1204.40\r\n<DTASOF>20261209150000.000[+1:CET]\r\n"),
              std::string::npos)
        << ofx;
    // Both readers still take the row.
    const auto file = written("no-ledger.ofx", ofx);
    const auto parsed = test::ProgramRun::of(script("read_ofx.py") + " " + file.string());
    ASSERT_EQ(parsed.code, 0) << parsed.out;
    EXPECT_EQ(json::parse(parsed.out)["transactions"].size(), 1u);
    const auto dump = test::ProgramRun::of("ofxdump " + file.string() + " 2>/dev/null");
    EXPECT_NE(dump.out.find("Total money amount: -9.99"), std::string::npos) << dump.out;
}
