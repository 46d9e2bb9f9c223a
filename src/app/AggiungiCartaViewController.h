#pragma once

#include "app/VestrinoVC.h"
#include "entities/CartaDiPagamento.h"

namespace vestrino {

// The card editor: adds an anonymous card, or names, edits or deletes the card it is given.
// Only its screen exists so far: it shows which card it was opened for.
class AggiungiCartaViewController : public VestrinoVC {
public:
    std::string layoutName() const override { return "AggiungiCartaViewController"; }
    std::string className() const override { return "AggiungiCartaViewController"; }
    bool isBackButtonRequired() override { return true; }

    void setCp(CartaDiPagamentoPtr carta) { cp_ = std::move(carta); }
    const CartaDiPagamentoPtr& cp() const { return cp_; }

    void viewDidLoad() override;

private:
    CartaDiPagamentoPtr cp_;
};

} // namespace vestrino
