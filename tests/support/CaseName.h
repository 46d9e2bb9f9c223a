#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace vestrino::test {

// A parameterised case's name for GoogleTest out of its description: "the backdrop cancels"
// becomes "TheBackdropCancels" (GoogleTest takes letters, digits and underscores only).
inline std::string caseName(std::string_view description) {
    std::string name;
    bool startWord = true;
    for (const char c : description) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u)) {
            name += startWord ? static_cast<char>(std::toupper(u)) : c;
            startWord = false;
        } else {
            startWord = true;
        }
    }
    return name.empty() ? std::string("Case") : name;
}

} // namespace vestrino::test
