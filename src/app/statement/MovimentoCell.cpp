#include "app/statement/MovimentoCell.h"

#include "ui/LayoutLoader.h"

namespace vestrino {

std::shared_ptr<MovimentoCell> MovimentoCell::fromLayout(std::string& error) {
    ui::LayoutLoader::Outlets outlets;
    auto root = ui::LayoutLoader::load("MovimentoCell", outlets, {}, error);
    auto cell = std::dynamic_pointer_cast<MovimentoCell>(root);
    if (!root) {
        return nullptr;
    }
    if (!cell) {
        error = "layout MovimentoCell: the top view is a " + root->className() +
                ", not a MovimentoCell";
        return nullptr;
    }
    cell->setDesc(std::dynamic_pointer_cast<ui::Label>(outlets["desc"]));
    cell->setImporto(std::dynamic_pointer_cast<ui::Label>(outlets["importo"]));
    if (!cell->desc() || !cell->importo()) {
        error = "layout MovimentoCell: labels \"desc\" and \"importo\" are needed";
        return nullptr;
    }
    return cell;
}

} // namespace vestrino
