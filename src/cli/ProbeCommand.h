#pragma once

#include <iosfwd>

namespace vestrino {

// `vestrino-cli probe [SECONDS]`: the full connectivity check against the service (the network
// status and a probe request with twice the given time).
class ProbeCommand {
public:
    // The time limits the command line takes; anything else is a usage error.
    static constexpr double kShortestSeconds = 0.001;
    static constexpr double kLongestSeconds = 600;

    static int run(double seconds, bool json, std::ostream& out);
};

} // namespace vestrino
