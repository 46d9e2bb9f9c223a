#include "core/DateFormatter.h"

#include <gtest/gtest.h>

using namespace vestrino;

namespace {
// Milliseconds since the epoch of local midnight in Europe/Rome (the tests' time zone).
constexpr long long kMidnight31Dec2010 = 1293750000000; // UTC+1
constexpr long long kMidnight1Jul2010 = 1277935200000;  // UTC+2, summer time
} // namespace

TEST(DateFormatter, ReadsOnlyWholeDayMonthYearTexts) {
    const std::pair<const char*, std::optional<long long>> cases[] = {
        {"31/12/2010", kMidnight31Dec2010},
        {"01/07/2010", kMidnight1Jul2010},
        {"2010-12-31", std::nullopt},
        {"31/02/2010", std::nullopt}, // no such day
        {"31/12/2010x", std::nullopt},
        {"31/12", std::nullopt},
        {"", std::nullopt},
        {"1/7/2010", std::nullopt},
        {"31.12.2010", std::nullopt},
    };
    DateFormatter f("dd/MM/yyyy");
    for (int round = 0; round < 2; ++round) { // the second round is answered from memory
        for (const auto& [text, millis] : cases) {
            const auto d = f.dateFromString(text);
            ASSERT_EQ(d.has_value(), millis.has_value()) << text;
            if (d) {
                EXPECT_EQ(d->time_since_epoch().count(), *millis) << text;
            }
        }
    }
    EXPECT_EQ(f.stringFromDate(Date(std::chrono::milliseconds(kMidnight1Jul2010))), "01/07/2010");
}
