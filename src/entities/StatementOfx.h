#pragma once

#include "entities/StatementSource.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vestrino {

// A statement as OFX 1.02 (SGML), the version libofx, and so GnuCash, KMyMoney and HomeBank,
// read best: a sign-on reply (DTSERVER, LANGUAGE), one statement in euros for the card's
// account with its transactions (BANKTRANLIST) and, where the service's texts are amounts, its
// balances (LEDGERBAL, AVAILBAL). Text is UTF-8 and declared so; "&", "<" and ">" are escaped
// and line breaks folded (PayeeName), and nothing else of a description is changed. Dates are a
// day's noon in the device's time zone with the zone written out, so that a reader in any zone
// up to eleven hours from the device's books a row on the same day (a date alone, or midnight,
// is the day before for every reader west of the device).
//
// A row whose amount cannot be read is left out (an importer would book it at some other
// amount): `bookable` tells which those are.
class StatementOfx {
public:
    // Throws std::runtime_error when the transaction ids cannot be made (no SHA-256).
    static std::string write(const StatementSource& source);
    static bool bookable(const Movimento& movimento);
    // The OFX transaction type of a row: ATM for a withdrawal, POS for a payment, for a top-up
    // CREDIT when it brings money in and XFER when it sends it to another card, otherwise
    // CREDIT or DEBIT by the amount's sign.
    static std::string_view transactionType(std::int32_t tipoMovimento, std::int64_t cents);
    // "yyyyMMddHHmmss.000[+1:CET]": the moment in the device's zone, its offset from UTC in
    // hours (a fraction where the zone has one) and its name.
    static std::string dateTime(Date moment);
    // The noon of the date's day in the device's zone, in the form above.
    static std::string dayAtNoon(Date date);
    // The account's number as OFX allows it: the card number's letters and digits, at most 22.
    static std::string accountId(const CartaDiPagamento* carta);
};

} // namespace vestrino
