#include "app/AggiungiCartaViewController.h"

#include "ui/Label.h"

namespace vestrino {

void AggiungiCartaViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    if (auto title = std::dynamic_pointer_cast<ui::Label>(outlet("titolo"))) {
        title->setText(cp_ ? "Dai un nome alla tua carta" : "Aggiungi una carta");
    }
    if (auto number = std::dynamic_pointer_cast<ui::Label>(outlet("numero"))) {
        number->setText(cp_ && cp_->serial() ? *cp_->serial() : "");
    }
}

} // namespace vestrino
