#pragma once

#include "app/VestrinoVC.h"
#include "entities/CartaDiPagamento.h"

namespace vestrino {

// The card wallet. On every appearance it loads the session's card list on a background
// worker (behind "Attendere" / "Caricamento dati in corso..." the first time); a list that
// cannot be loaded forces the logout with the service's message. The carousel itself comes
// with the wallet's own issue: for now the cards are listed by number.
class CarteViewController : public VestrinoVC {
public:
    std::string layoutName() const override { return "CarteViewController"; }
    std::string className() const override { return "CarteViewController"; }
    int getTagOfSelectedButton() override { return kTagCarte; }
    bool isBackButtonRequired() override { return false; }

    void viewWillAppear(bool animated) override;
    const std::shared_ptr<ListaCarte>& carte() const { return carte_; }

private:
    void loaded(int code, std::shared_ptr<ListaCarte> carte, std::optional<std::string> message);

    std::shared_ptr<ListaCarte> carte_;
    bool firstLoad_ = true;
};

} // namespace vestrino
