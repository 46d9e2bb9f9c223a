#include "entities/StatementSummary.h"

#include "entities/Importo.h"

namespace vestrino {

std::string StatementSummary::line(std::string_view hiddenAmount) const {
    std::string out =
        std::to_string(count) + (count == 1 ? " movimento" : " movimenti") + " · totale " +
        (!hiddenAmount.empty() ? std::string(hiddenAmount) : Importo::italian(totalCents) + " €");
    if (unreadable == 1) {
        out += " (1 importo non leggibile escluso)";
    } else if (unreadable > 1) {
        out += " (" + std::to_string(unreadable) + " importi non leggibili esclusi)";
    }
    return out;
}

} // namespace vestrino
