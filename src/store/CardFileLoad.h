#pragma once

#include "entities/CartaDiPagamento.h"

#include <string>

namespace vestrino {

// What reading a user's card file found. Missing and unreadable are told apart, and an
// unreadable file (damaged: it does not decrypt or is no card list) from one that cannot be
// read just now (permission, read error): the first may be kept aside and replaced, the second
// must be left alone.
struct CardFileLoad {
    enum class State { Loaded, Missing, Damaged, Unavailable };

    State state = State::Missing;
    ListaCarte cards;   // Loaded: the stored list
    std::string detail; // Damaged, Unavailable: what failed, for the log
};

} // namespace vestrino
