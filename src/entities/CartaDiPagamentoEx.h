#pragma once

#include "entities/CartaDiPagamento.h"

namespace vestrino {

// A card together with the CVV2 typed for one query. The CVV2 is never archived and never
// copied into a plain card.
class CartaDiPagamentoEx : public CartaDiPagamento {
public:
    CartaDiPagamentoEx() = default;
    // Starts as a new card and merges the given one: all six texts and the anonymous flag.
    explicit CartaDiPagamentoEx(const CartaDiPagamento& carta);

    const std::optional<std::string>& cvv2() const { return cvv2_; }
    void setCvv2(std::optional<std::string> v) { cvv2_ = std::move(v); }

private:
    std::optional<std::string> cvv2_;
};

} // namespace vestrino
