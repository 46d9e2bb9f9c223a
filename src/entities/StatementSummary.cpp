#include "entities/StatementSummary.h"
#include "core/Translation.h"

#include "entities/Importo.h"

namespace vestrino {

std::string StatementSummary::line(std::string_view hiddenAmount) const {
    std::string out =
        std::to_string(count) + trn(" movimento", " movimenti", count) + tr(" · totale ") +
        (!hiddenAmount.empty() ? std::string(hiddenAmount) : Importo::shown(totalCents) + " €");
    if (unreadable == 1) {
        out += tr(" (1 importo non leggibile escluso)");
    } else if (unreadable > 1) {
        out += " (" + std::to_string(unreadable) + tr(" importi non leggibili esclusi)");
    }
    return out;
}

} // namespace vestrino
