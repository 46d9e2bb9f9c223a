#pragma once

#include "StandinKnobs.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumacard {

// A fault as a person writes it on the stand-in's command line: "PATH:SETTING,SETTING…", where
// PATH is a path the service answers ("/LumaCard/login.do"), its last part without ".do"
// ("login"), or "*" for every path, and each SETTING one of
//   delay=MS    wait MS milliseconds before answering
//   hang        accept the request and never answer (until the stand-in stops)
//   status=N    answer with HTTP status N
//   cut=N       send only the first N bytes of the reply, then end the connection
//   close       promise a body in the headers and drop the connection before it
struct FaultRule {
    std::string path;
    Fault fault;

    // The fault read, or nothing with `error` saying what is wrong with it.
    static std::optional<FaultRule> parse(std::string_view text, std::string& error);
    // How a hang is told apart from a long delay: it outlasts any client's patience.
    static constexpr std::chrono::hours kHang{24};
};

} // namespace lumacard
