#pragma once

#include <string>
#include <string_view>

namespace vestrino {

// The project's version ("0.1").
std::string_view projectVersion();
// The git revision the programs were built from ("3f2a9c1d0b7e", "-modified" added when the
// checkout had changes), or empty when they were not built from a checkout.
std::string_view sourceRevision();

// What `--version` prints: "PROGRAM 0.1 (git 3f2a9c1d0b7e)", or without the revision.
std::string versionLine(std::string_view program);

} // namespace vestrino
