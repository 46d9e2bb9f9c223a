#pragma once

#include "cli/ServiceCommands.h"

#include <string>

namespace vestrino {

// The offline copy of a user, from the terminal: what it holds and when it was made (opened
// with the password from standard input), or removed.
class CacheCommands {
public:
    static int show(const std::string& user, const ServiceCommands::Io& io);
    static int forget(const std::string& user, const ServiceCommands::Io& io);
};

} // namespace vestrino
