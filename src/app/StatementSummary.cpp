#include "app/StatementSummary.h"

#include "app/Preferences.h"
#include "entities/Importo.h"

namespace vestrino {

std::string StatementSummary::line(bool hideAmounts) const {
    std::string out = std::to_string(count) + (count == 1 ? " movimento" : " movimenti") +
                      " · totale " +
                      (hideAmounts ? std::string(Preferences::kHiddenAmount)
                                   : Importo::italian(totalCents) + " €");
    if (unreadable == 1) {
        out += " (1 importo non leggibile escluso)";
    } else if (unreadable > 1) {
        out += " (" + std::to_string(unreadable) + " importi non leggibili esclusi)";
    }
    return out;
}

} // namespace vestrino
