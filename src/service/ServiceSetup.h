#pragma once

#include <optional>
#include <string>

namespace vestrino {

// The settings every program that talks to the service shares (--host, --cafile, --documents,
// --reachability), and putting the lower layers' part in place: service host, trusted CA,
// fixed reachability flags. Each program installs its own application delegate with the
// documents folder.
struct ServiceSetup {
    std::string host = "127.0.0.1:8443";
    std::optional<std::string> cafile;
    std::optional<std::string> documents;
    std::optional<std::string> reachability; // fixed flags, decimal or 0x hexadecimal

    // False (with the reason) when a setting cannot be used.
    bool apply(std::string& error) const;

    static std::optional<unsigned> parseFlags(const std::string& text);
};

} // namespace vestrino
