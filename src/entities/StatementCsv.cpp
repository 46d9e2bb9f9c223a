#include "entities/StatementCsv.h"

#include "entities/Importo.h"
#include "entities/LocalDays.h"

namespace vestrino {

namespace {

void appendField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// A text a spreadsheet would take for a formula (=HYPERLINK(…), +cmd|…, @SUM(…), a tab or a
// carriage return first) is written with an apostrophe before it, which spreadsheets show as
// text and do not run (OWASP's advice for CSV).
void appendTextField(std::string& out, std::string_view text) {
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        appendField(out, "'" + std::string(text));
    } else {
        appendField(out, text);
    }
}

// The service's own amount text after our sign: a plain amount (digits, separators, spaces)
// as it is; anything else also gets the apostrophe.
bool plainAmount(std::string_view text) {
    return text.find_first_not_of("0123456789., \xC2\xA0") == std::string_view::npos;
}

} // namespace

std::string StatementCsv::field(std::string_view text) {
    std::string out;
    appendField(out, text);
    return out;
}

std::string_view StatementCsv::typeName(std::int32_t tipoMovimento) {
    switch (tipoMovimento) {
    case 0:
        return "prelievo";
    case 1:
        return "ricarica carta";
    case 2:
        return "ricarica carta Lumacard";
    case 3:
        return "ricarica telefonica";
    case 4:
        return "pagamento";
    default:
        return "altro";
    }
}

std::string StatementCsv::write(std::span<const MovimentoPtr> rows) {
    LocalDays dates;
    std::string out = std::string(kHeader) + "\r\n";
    out.reserve(rows.size() * 96);
    for (const auto& m : rows) {
        if (!m) {
            continue;
        }
        const auto cents = Importo::signedCents(*m);
        const bool credit = m->accrediti() && !m->accrediti()->empty();
        out += dates.iso(m->dataContabile());
        out += ',';
        out += dates.iso(m->dataValuta());
        out += ',';
        appendTextField(out, m->descrizione() ? std::string_view(*m->descrizione()) : "");
        out += ',';
        out += cents ? Importo::decimalPoint(*cents) : std::string();
        out += ',';
        out += std::to_string(m->tipoMovimento());
        out += ',';
        out += typeName(m->tipoMovimento());
        out += ',';
        out += '"'; // the service's text, signed: always with its comma, so quoted
        const std::string original = credit ? *m->accrediti() : m->addebiti().value_or("");
        if (!plainAmount(original)) {
            out += '\'';
        }
        out += credit ? '+' : '-';
        for (const char c : original) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
        out += "\r\n";
    }
    return out;
}

} // namespace vestrino
