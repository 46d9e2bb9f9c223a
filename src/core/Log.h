#pragma once

#include <functional>
#include <string_view>

namespace vestrino {

// The diagnostic log: one line per call, to standard error unless a sink is installed (tests
// install one to read what was logged). Safe to call from any thread.
class Log {
public:
    using Sink = std::function<void(std::string_view)>;

    static void write(std::string_view line);
    // A developer's line (what a reply said on its way to a failure the person is told of in
    // words): to standard error only while debugging is on (`--verbose`, or VESTRINO_DEBUG=1
    // in the environment), always to an installed sink.
    static void debug(std::string_view line);
    static void setDebug(bool on);
    static bool debugging();
    // Replaces the destination; an empty sink restores standard error. Returns the old sink.
    static Sink setSink(Sink sink);
};

} // namespace vestrino
