#include "entities/MovimentoText.h"

#include "core/DateFormatter.h"
#include "core/Translation.h"
#include "core/Utf8.h"

namespace vestrino {

std::string MovimentoText::amount(const Movimento& m) {
    if (m.accrediti() && !m.accrediti()->empty()) {
        return "+ " + *m.accrediti() + " €";
    }
    return "- " + m.addebiti().value_or("") + " €";
}

std::string MovimentoText::detail(const Movimento& m, std::string_view amountShown,
                                  DateFormatter& dates) {
    const auto formatted = [&dates](const std::optional<Date>& date) {
        return date ? dates.stringFromDate(*date) : std::string();
    };
    // The alert grows with its text: a description of any length shows its first
    // kDetailDescriptionLength characters.
    const std::string& description = m.descrizione().value_or(std::string());
    const std::string causale =
        codePointCount(description) > kDetailDescriptionLength
            ? firstCodePoints(description, kDetailDescriptionLength) + "\u2026"
            : description;
    return tr("Causale: ") + causale + tr("\nImporto: ") + std::string(amountShown) +
           tr("\nData Contabile: ") + formatted(m.dataContabile()) + tr("\nData Valuta: ") +
           formatted(m.dataValuta());
}

} // namespace vestrino
