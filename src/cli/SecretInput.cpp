#include "cli/SecretInput.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace vestrino {

std::optional<std::string> SecretInput::read(const std::string& prompt, std::istream& in) {
    const bool terminal = &in == &std::cin && ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::cerr << prompt << std::flush;
        if (::tcgetattr(STDIN_FILENO, &saved) == 0) {
            termios quiet = saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(in, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << '\n';
    }
    if (!got) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

} // namespace vestrino
