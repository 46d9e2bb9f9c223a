#pragma once

#include "entities/Movimento.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// Amounts as exact integer cents, never binary floating point: read from the service's Italian
// text ("1.234,56", "1234,56", "12,5", "38", an optional sign) and written back in either form.
class Importo {
public:
    // The cents of the text, or nothing when it is no amount: thousands dots must stand every
    // three digits ("1.234,56", never "12.50"), at most two decimals after the comma, at most
    // 15 digits in all. Blanks around the text are ignored.
    static std::optional<std::int64_t> centsFromItalian(std::string_view text);
    // "-1.234,56": thousands dots and a decimal comma, two decimals.
    static std::string italian(std::int64_t cents);
    // "- 1234,56", "+ 50,00", "0,00": an amount the application writes beside the service's
    // own, in the look of the statement's rows (the sign and a space, the digits as the service
    // sends them once its no-break spaces are gone, a decimal comma).
    static std::string shown(std::int64_t cents);
    // "-1234.56": a decimal point, no thousands separator (spreadsheets, CSV).
    static std::string decimalPoint(std::int64_t cents);
    // A transaction's signed amount: + the credit when there is one (not empty), otherwise
    // - the debit; nothing when that text cannot be read.
    static std::optional<std::int64_t> signedCents(const Movimento& movimento);
};

} // namespace vestrino
