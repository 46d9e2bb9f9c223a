#include "core/DateFormatter.h"
#include "entities/CartaDiPagamento.h"
#include "entities/CartaDiPagamentoEx.h"
#include "entities/Movimento.h"
#include "entities/MovimentoText.h"
#include "entities/Saldo.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace vestrino;

namespace {

using Opt = std::optional<std::string>;

struct Fields {
    Opt serial{}, desc{}, alias{}, intestatario{}, dataAA{}, dataMM{};
    bool anonima = false;
    bool operator==(const Fields&) const = default;
};

std::shared_ptr<CartaDiPagamento> card(const Fields& f) {
    auto c = std::make_shared<CartaDiPagamento>();
    c->setSerial(f.serial);
    c->setDesc(f.desc);
    c->setAlias(f.alias);
    c->setIntestatario(f.intestatario);
    c->setDataAA(f.dataAA);
    c->setDataMM(f.dataMM);
    c->setAnonima(f.anonima);
    return c;
}

Fields fields(const CartaDiPagamento& c) {
    return {c.serial(), c.desc(), c.alias(), c.intestatario(), c.dataAA(), c.dataMM(), c.anonima()};
}

} // namespace

TEST(CartaDiPagamento, MergeFillsAbsentAndEmptyFieldsOnly) {
    struct Case {
        const char* name;
        Fields receiver, other, expected;
    };
    const Fields full{.serial = "1",
                      .desc = "d",
                      .alias = "a",
                      .intestatario = "i",
                      .dataAA = "y",
                      .dataMM = "m",
                      .anonima = true};
    const Case cases[] = {
        {"empty alias merged with absent alias stays absent", {.alias = ""}, {}, {}},
        {"own serial kept, missing desc and flag taken",
         {.serial = "111"},
         {.serial = "222", .desc = "CLASSIC", .anonima = true},
         {.serial = "111", .desc = "CLASSIC", .anonima = true}},
        {"stored anonymous card merged with the service card is no longer anonymous",
         {.serial = "5333", .alias = "Spesa", .dataAA = "27", .dataMM = "04", .anonima = true},
         {.serial = "5333", .desc = "LUMACARD", .alias = "", .dataAA = "30"},
         {.serial = "5333", .desc = "LUMACARD", .alias = "Spesa", .dataAA = "27", .dataMM = "04"}},
        {"a new record takes everything", {}, full, full},
        {"empty receiver field takes the other's empty or absent value",
         {.desc = "", .intestatario = ""},
         {.desc = Opt(), .intestatario = ""},
         {.desc = Opt(), .intestatario = ""}},
    };
    for (const auto& c : cases) {
        auto r = card(c.receiver);
        r->merge(*card(c.other));
        EXPECT_EQ(fields(*r), c.expected) << c.name;
    }
}

TEST(CartaDiPagamento, EqualityIsByPresentSerialOnly) {
    const auto a = card({.serial = "5333", .alias = "uno"});
    const auto b = card({.serial = "5333", .alias = "due"});
    const auto c = card({.serial = "5334"});
    const auto none = card({.alias = "uno"});
    EXPECT_TRUE(a->isEqual(*b));
    EXPECT_FALSE(a->isEqual(*c));
    EXPECT_FALSE(none->isEqual(*none)); // not even itself
    EXPECT_FALSE(a->isEqual(*none));
    EXPECT_FALSE(none->isEqual(*a));
    EXPECT_TRUE(card({.serial = ""})->isEqual(*card({.serial = ""})));

    // Searches and removals by equality: the first match is found; every match is removed.
    ListaCarte list{c, a, b, none};
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const auto& x) { return x->isEqual(*b); });
    EXPECT_EQ(found - list.begin(), 1);
    std::erase_if(list, [&](const auto& x) { return x->isEqual(*a); });
    EXPECT_EQ(list, (ListaCarte{c, none}));
    EXPECT_EQ(
        std::count_if(list.begin(), list.end(), [&](const auto& x) { return x->isEqual(*none); }),
        0);
}

TEST(CartaDiPagamento, CopyIsIndependentAndNeverCarriesTheCvv2) {
    CartaDiPagamentoEx ex(*card({.serial = "5333", .desc = "d", .dataAA = "27", .anonima = true}));
    ex.setCvv2("123");
    EXPECT_TRUE(fields(ex) ==
                (Fields{.serial = "5333", .desc = "d", .dataAA = "27", .anonima = true}));
    const auto copy = ex.copy();
    EXPECT_EQ(dynamic_cast<CartaDiPagamentoEx*>(copy.get()), nullptr);
    EXPECT_TRUE(fields(*copy) == fields(ex));
    copy->setAlias("nuovo");
    copy->setSerial(std::nullopt);
    EXPECT_EQ(ex.alias(), std::nullopt);
    EXPECT_EQ(ex.serial(), "5333");
}

TEST(Records, LogTexts) {
    Saldo s;
    s.setSaldoAl("18/11/2026");
    s.setSaldoContabile("10,00");
    EXPECT_EQ(s.description(), "SaldoAl:18/11/2026\nSaldoBloccato:(null)\nSaldoContabile:10,00\n"
                               "SaldoDisponibile:(null)\n");
    Movimento m;
    m.setAccrediti("5,00");
    m.setDataValuta(Date(std::chrono::milliseconds(1293750000000)));
    m.setDescrizione("RICARICA");
    m.setTipoMovimento(1);
    EXPECT_EQ(m.description(), "Accrediti:5,00 Addebiti:(null) DataValuta:2010-12-30 23:00:00 "
                               "+0000 DataContabile:(null) Descrizione:RICARICA Tipo:1");
}

// A row's amount and its detail, as the statement shows them.
TEST(MovimentoText, AmountsAndTheDetail) {
    struct Case {
        const char* name;
        std::optional<std::string> accrediti, addebiti, descrizione;
        bool dated;
        std::string amount;
        std::string detailStart; // the detail up to the amount
    };
    const std::string longText = std::string(299, 'a') + "\u00e8\u00e8"; // 301 characters
    const Case cases[] = {
        {"a credit", "12,50", std::nullopt, "RICARICA", true, "+ 12,50 \u20ac",
         "Causale: RICARICA\nImporto: "},
        {"a debit", std::nullopt, "38,56", "POS ROMA", true, "- 38,56 \u20ac",
         "Causale: POS ROMA\nImporto: "},
        {"an empty credit is a debit", "", "1,00", "X", true, "- 1,00 \u20ac",
         "Causale: X\nImporto: "},
        {"neither", std::nullopt, std::nullopt, std::nullopt, false, "-  \u20ac",
         "Causale: \nImporto: "},
        {"a description cut by characters, not bytes", std::nullopt, "2,00", longText, true,
         "- 2,00 \u20ac", "Causale: " + std::string(299, 'a') + "\u00e8\u2026\nImporto: "},
    };
    DateFormatter dates("dd/MM/yyyy");
    const auto day = dates.dateFromString("03/02/2024");
    ASSERT_TRUE(day);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Movimento m;
        m.setAccrediti(c.accrediti);
        m.setAddebiti(c.addebiti);
        m.setDescrizione(c.descrizione);
        if (c.dated) {
            m.setDataContabile(day);
            m.setDataValuta(day);
        }
        EXPECT_EQ(MovimentoText::amount(m), c.amount);
        const auto detail = MovimentoText::detail(m, "shown", dates);
        EXPECT_EQ(detail, c.detailStart + "shown" +
                              (c.dated ? "\nData Contabile: 03/02/2024\nData Valuta: 03/02/2024"
                                       : "\nData Contabile: \nData Valuta: "));
    }
}
