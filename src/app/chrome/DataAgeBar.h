#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <functional>
#include <string>

namespace vestrino {

// A strip under the navigation bar that says how old the data shown is ("Senza connessione:
// dati del …", "Dati del …") and may offer one action beside it ("Riprova", "Aggiorna"). With
// no text it is hidden and takes no touch.
class DataAgeBar : public ui::View {
public:
    static constexpr double kHeight = 18;
    explicit DataAgeBar(ui::Rect frame);

    void setText(const std::string& text);
    // The action beside the text; an empty title removes it.
    void setAction(const std::string& title, std::function<void()> action);
    const std::string& text() const { return label_->text(); }
    const std::shared_ptr<ui::Button>& button() const { return button_; }

    void layoutSubviews() override;
    std::string className() const override { return "DataAgeBar"; }

private:
    std::shared_ptr<ui::Label> label_;
    std::shared_ptr<ui::Button> button_;
    std::function<void()> action_;
};

} // namespace vestrino
