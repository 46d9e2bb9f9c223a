#pragma once

#include <iosfwd>

namespace vestrino {

// `vestrino-cli probe [SECONDS]`: the full connectivity check against the service (the network
// status and a probe request with twice the given time).
class ProbeCommand {
public:
    static int run(double seconds, bool json, std::ostream& out);
};

} // namespace vestrino
