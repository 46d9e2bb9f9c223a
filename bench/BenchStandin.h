#pragma once

#include "StandinServer.h"

#include <functional>
#include <memory>
#include <string>

namespace vestrino::bench {

// The stand-in on a free port of 127.0.0.1 with the given data, and this process pointed at it
// (service host, trusted CA). Nothing, with the reason, when it cannot start.
std::unique_ptr<lumacard::StandinServer> startStandin(lumacard::DemoData data, std::string& error);
// The same with the project's demo data, after `extend` has added what the benchmark needs.
std::unique_ptr<lumacard::StandinServer>
startDemoStandin(const std::function<void(lumacard::DemoData&)>& extend, std::string& error);

} // namespace vestrino::bench
