#include "cli/ProbeCommand.h"

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
        out << (ok ? "The service at " : "No answer from the service at ") << serviceHost()
            << (ok ? " answers." : " (or the network is down).") << '\n';
    }
    return ok ? 0 : 1;
}

} // namespace vestrino
