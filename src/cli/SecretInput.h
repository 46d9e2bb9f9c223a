#pragma once

#include <istream>
#include <optional>
#include <string>

namespace vestrino {

// A password or CVV2 for the terminal client: the first line of standard input, read without
// echo behind a prompt when standard input is a terminal. Never taken from the command line.
class SecretInput {
public:
    static std::optional<std::string> read(const std::string& prompt, std::istream& in);
};

} // namespace vestrino
