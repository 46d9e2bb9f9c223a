#pragma once

#include <string>

namespace vestrino {

// Overwrites a secret's characters (a password, a CVV2) before its memory is given back, in a
// way the compiler may not drop as a dead store.
inline void wipeSecret(std::string& secret) {
    volatile char* p = secret.data();
    for (std::size_t i = 0; i < secret.size(); ++i) {
        p[i] = '\0';
    }
    secret.clear();
}

} // namespace vestrino
