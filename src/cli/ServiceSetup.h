#pragma once

#include <optional>
#include <string>

namespace vestrino {

// The settings every program that talks to the service shares (--host, --cafile, --documents,
// --reachability), and putting them in place: service host, trusted CA, the application
// delegate with its documents folder and its started internet reachability monitor.
struct ServiceSetup {
    std::string host = "127.0.0.1:8443";
    std::optional<std::string> cafile;
    std::optional<std::string> documents;
    std::optional<std::string> reachability; // fixed flags, decimal or 0x hexadecimal

    // False (with the reason) when a setting cannot be used.
    // `startMonitor`: also make and start the internet reachability monitor (the application
    // does that in its own launch sequence).
    bool apply(std::string& error, bool startMonitor = true) const;

    static std::optional<unsigned> parseFlags(const std::string& text);
};

} // namespace vestrino
