#pragma once

#include "entities/CartaDiPagamento.h"
#include "store/ArchivedValue.h"
#include "store/KeyedArchiver.h"

#include <optional>

namespace vestrino {

// Keyed archiving of a card: "serial", "desc", "alias", "intestatario", "dataAA", "dataMM" as
// strings (nil when absent) and "anonima" as a boolean number, in that order, class
// "CartaDiPagamento". The CVV2 of an extended card is never written.
KeyedArchiver::Uid encodeWithCoder(const CartaDiPagamento& carta, KeyedArchiver& coder);

// A plain card from an archived object of any class (an extended card included). A missing
// key gives an absent value (false for "anonima"); a value of the wrong type refuses the card.
std::optional<CartaDiPagamentoPtr> initWithCoder(const ArchivedValue& value);

} // namespace vestrino
