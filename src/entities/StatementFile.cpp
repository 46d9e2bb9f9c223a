#include "entities/StatementFile.h"

#include "entities/StatementCsv.h"
#include "entities/StatementOfx.h"
#include "entities/StatementQif.h"

#include <algorithm>

namespace vestrino {

StatementFile::Written StatementFile::write(StatementFormat format, const StatementSource& source) {
    const auto present = static_cast<std::size_t>(
        std::count_if(source.rows.begin(), source.rows.end(), [](const auto& m) { return !!m; }));
    switch (format) {
    case StatementFormat::Csv:
        // A spreadsheet holds a row whatever its amount: the service's text has a column.
        return {StatementCsv::write(source.rows), present, 0};
    case StatementFormat::Ofx:
    case StatementFormat::Qif: {
        const auto booked = static_cast<std::size_t>(
            std::count_if(source.rows.begin(), source.rows.end(),
                          [](const auto& m) { return m && StatementOfx::bookable(*m); }));
        return {format == StatementFormat::Ofx ? StatementOfx::write(source)
                                               : StatementQif::write(source),
                booked, present - booked};
    }
    }
    return {};
}

std::string_view StatementFile::extension(StatementFormat format) {
    switch (format) {
    case StatementFormat::Csv:
        return "csv";
    case StatementFormat::Ofx:
        return "ofx";
    case StatementFormat::Qif:
        return "qif";
    }
    return "txt";
}

} // namespace vestrino
