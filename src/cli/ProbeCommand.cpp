#include "cli/ProbeCommand.h"

#include "core/Translation.h"
#include "service/Constants.h"
#include "service/NetworkUtils.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace vestrino {

int ProbeCommand::run(double seconds, bool json, std::ostream& out) {
    const bool ok = NetworkUtils::fullCheckInternetConnectionWithTimeout(seconds);
    if (json) {
        out << nlohmann::ordered_json{{"ok", ok}}.dump() << '\n';
    } else {
        out << (ok ? tr("Il servizio su ") : tr("Nessuna risposta dal servizio su "))
            << serviceHost() << (ok ? tr(" risponde.") : tr(" (o la rete non c'è).")) << '\n';
    }
    return ok ? 0 : 1;
}

} // namespace vestrino
