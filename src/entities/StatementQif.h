#pragma once

#include "entities/StatementSource.h"

#include <string>

namespace vestrino {

// A statement as QIF, for the programs that import it with their own readers (GnuCash,
// KMyMoney, HomeBank): an account header naming the card, then "!Type:Bank" (a prepaid card is
// the holder's own money, as StatementOfx explains) and one record a row: D its value date (the
// booking date when there is none), T its signed amount with a decimal point, P the
// description's name part and M the whole description where the name could not hold it
// (PayeeName, on one line: a line break would start another field), "^". UTF-8, LF line ends.
//
// What QIF cannot say, and so this file does not: the currency (the account's own, in the
// program), the card's number (the account is chosen by the person at the import), a row's
// identity (importers match rows they already have by date, amount and payee, so two equal
// rows of one day may be taken for one) and the order of a date's parts. Dates are written
// year first with four digits ("2026-09-05"), which no reader takes for a day or a month; GnuCash
// still offers year-day-month beside year-month-day when no day in the file is above 12.
// A row whose amount cannot be read is left out, as in OFX.
class StatementQif {
public:
    static std::string write(const StatementSource& source);
};

} // namespace vestrino
