// The texts in the language in force: English from the build's catalog, Italian as written.
#include "core/Translation.h"
#include "entities/MonthTotals.h"
#include "entities/StatementSummary.h"

#include <gtest/gtest.h>

using namespace vestrino;

namespace {

// Puts Italian back whatever a test did.
struct ItalianAfterwards {
    ~ItalianAfterwards() { Translation::use(Language::Italian, VESTRINO_CATALOGS); }
};

} // namespace

TEST(Translation, CountsDatesAndTheItalianTextsByteForByte) {
    ItalianAfterwards restore;
    struct Case {
        Language language;
        std::size_t count, unreadable;
        const char* line;
        const char* month;
    };
    const Case cases[] = {
        {Language::Italian, 1, 0, "1 movimento · totale - 12,50 €", "nov 2026"},
        {Language::Italian, 9, 1,
         "9 movimenti · totale - 12,50 € (1 importo non leggibile escluso)", "nov 2026"},
        {Language::Italian, 0, 2,
         "0 movimenti · totale - 12,50 € (2 importi non leggibili esclusi)", "nov 2026"},
        {Language::English, 1, 0, "1 transaction · total - 12,50 €", "Nov 2026"},
        {Language::English, 9, 1, "9 transactions · total - 12,50 € (1 unreadable amount left out)",
         "Nov 2026"},
        {Language::English, 0, 2,
         "0 transactions · total - 12,50 € (2 unreadable amounts left out)", "Nov 2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(Translation::use(c.language, VESTRINO_CATALOGS));
        EXPECT_EQ(Translation::current(), c.language);
        const StatementSummary summary{c.count, -1250, c.unreadable};
        EXPECT_EQ(summary.line(), c.line);
        EXPECT_EQ((MonthKey{2026, 11}.label()), c.month);
        // A text the catalog lacks (the service's) comes back as it is, also from a temporary.
        EXPECT_EQ(trs(std::string("Carta bloccata dal servizio")), "Carta bloccata dal servizio");
    }
    // No catalog where it is looked for: English is refused and Italian stays.
    EXPECT_FALSE(Translation::use(Language::English, "/nonexistent"));
    EXPECT_EQ(Translation::current(), Language::Italian);
}

TEST(Translation, TheLanguageOfACode) {
    struct Case {
        const char* code;
        std::optional<Language> language;
    };
    const Case cases[] = {
        {"it", Language::Italian},
        {"it_IT.UTF-8", Language::Italian},
        {"it_CH@euro", Language::Italian},
        {"en", Language::English},
        {"en_GB.UTF-8", Language::English},
        {"en-US", Language::English},
        {"fr_FR.UTF-8", std::nullopt},
        {"C", std::nullopt},
        {"", std::nullopt},
        {"english", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Translation::parse(c.code), c.language);
    }
}
