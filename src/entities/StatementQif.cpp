#include "entities/StatementQif.h"

#include "entities/Importo.h"
#include "entities/LocalDays.h"
#include "entities/PayeeName.h"
#include "entities/StatementOfx.h"

namespace vestrino {

namespace {

void field(std::string& out, char code, std::string_view value) {
    out += code;
    out += value;
    out += '\n';
}

// "Lumacard 5670": the account a person sees proposed, after the card's last four digits.
std::string accountName(const CartaDiPagamento* carta) {
    const std::string last4 =
        carta ? CartaDiPagamento::lastFourDigits(carta->serial().value_or("")) : std::string();
    return last4.empty() ? std::string("Lumacard") : "Lumacard " + last4;
}

} // namespace

std::string StatementQif::write(const StatementSource& source) {
    std::string out;
    out.reserve(64 + source.rows.size() * 80);
    out += "!Account\n";
    field(out, 'N', accountName(source.carta));
    field(out, 'T', "Bank");
    out += "^\n";
    out += "!Type:Bank\n";
    LocalDays days;
    for (const auto& m : source.rows) {
        if (!m || !StatementOfx::bookable(*m)) {
            continue;
        }
        // A row the service sent without a date is booked on the day of the export.
        const auto date = m->dataValuta()      ? m->dataValuta()
                          : m->dataContabile() ? m->dataContabile()
                                               : std::optional<Date>(source.now);
        field(out, 'D', days.iso(date));
        field(out, 'T', Importo::decimalPoint(*Importo::signedCents(*m)));
        const auto payee = PayeeName::of(m->descrizione().value_or(""));
        if (!payee.name.empty()) {
            field(out, 'P', payee.name);
        }
        if (!payee.memo.empty()) {
            field(out, 'M', payee.memo);
        }
        out += "^\n";
    }
    return out;
}

} // namespace vestrino
