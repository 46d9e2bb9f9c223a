#pragma once

#include "entities/Movimento.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vestrino {

// A statement as CSV for a spreadsheet: RFC 4180 (fields with a comma, a quote or a line break
// in double quotes, quotes doubled, CRLF line ends), UTF-8, a header row, dates yyyy-MM-dd and
// amounts signed with a decimal point ("-91.70"; an amount that cannot be read is left empty
// and its text kept in the last column). A text that a spreadsheet would run as a formula (it
// starts with =, +, -, @, a tab or a carriage return) starts with an apostrophe. Beside the
// type's code ("tipo") its name as a person reads it ("prelievo", "ricarica carta", …).
class StatementCsv {
public:
    static constexpr const char* kHeader =
        "data_contabile,data_valuta,descrizione,importo,tipo,tipo_descrizione,importo_originale";
    // The name of a transaction type's code; "altro" for any other code.
    static std::string_view typeName(std::int32_t tipoMovimento);

    static std::string write(std::span<const MovimentoPtr> rows);
    // One field as RFC 4180 wants it.
    static std::string field(std::string_view text);
};

} // namespace vestrino
