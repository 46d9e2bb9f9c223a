#pragma once

#include "entities/StatementSource.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The formats a statement is exported in: CSV for a spreadsheet, OFX and QIF for the programs
// people keep their accounts in.
enum class StatementFormat { Csv, Ofx, Qif };

// A statement written in one of those formats, and how many of its rows went in.
class StatementFile {
public:
    struct Written {
        std::string text;
        std::size_t rows = 0;    // the rows in the file
        std::size_t leftOut = 0; // rows OFX and QIF cannot hold: their amount cannot be read
    };
    // Throws std::runtime_error where StatementOfx::write does.
    static Written write(StatementFormat format, const StatementSource& source);
    // "csv", "ofx", "qif": the file name's ending.
    static std::string_view extension(StatementFormat format);
};

} // namespace vestrino
