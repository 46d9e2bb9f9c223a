#pragma once

#include "ui/Label.h"
#include "ui/TableView.h"

namespace vestrino {

// A row of the cash-machine results: the office on the first line, its postcode and province
// on the second, the distance on the right.
class LumaspotCell : public ui::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "Lumaspot";

    LumaspotCell();

    ui::Label& ufficio() { return *ufficio_; }
    ui::Label& luogo() { return *luogo_; }
    ui::Label& distanza() { return *distanza_; }

    void prepareForReuse() override;
    std::string className() const override { return "LumaspotCell"; }
    // The cash machine read out whole: its office, where it is, how far.
    std::string accessibleName() const override {
        return ufficio_->text() + ", " + luogo_->text() + ", " + distanza_->text();
    }

private:
    std::shared_ptr<ui::Label> ufficio_, luogo_, distanza_;
};

} // namespace vestrino
