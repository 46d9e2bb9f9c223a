#pragma once

#include <string>

namespace vestrino::bench {

// A realistic statement reply with the given number of transactions (about 250 bytes each):
// Italian descriptions of every kind, amounts with no-break spaces, dates over one year.
std::string statementReply(int transactions);

} // namespace vestrino::bench
