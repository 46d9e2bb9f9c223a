#pragma once

#include "ui/Label.h"
#include "ui/TableView.h"

#include <memory>

namespace vestrino {

// A row of the statement: the date and description, and the signed amount. Made from the
// layout "MovimentoCell" and reused under the identifier "Cell"; it adds no behaviour of its
// own to a table cell.
class MovimentoCell : public ui::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "Cell";

    MovimentoCell() : ui::TableViewCell(kReuseIdentifier) {}

    // A new cell from the layout, its labels bound; nothing when the layout is unusable
    // (`error` says why).
    static std::shared_ptr<MovimentoCell> fromLayout(std::string& error);

    const std::shared_ptr<ui::Label>& desc() const { return desc_; }
    void setDesc(std::shared_ptr<ui::Label> label) { desc_ = std::move(label); }
    const std::shared_ptr<ui::Label>& importo() const { return importo_; }
    void setImporto(std::shared_ptr<ui::Label> label) { importo_ = std::move(label); }

    std::string className() const override { return "MovimentoCell"; }
    // The row read out whole: the date and description, then the amount (hidden as shown).
    std::string accessibleName() const override {
        return (desc_ ? desc_->text() : "") + (importo_ ? ", " + importo_->text() : "");
    }

private:
    std::shared_ptr<ui::Label> desc_;
    std::shared_ptr<ui::Label> importo_;
};

} // namespace vestrino
