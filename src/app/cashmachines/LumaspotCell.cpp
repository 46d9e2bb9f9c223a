#include "app/cashmachines/LumaspotCell.h"
#include "app/chrome/AppStyle.h"

namespace vestrino {

using namespace ui;

LumaspotCell::LumaspotCell() : TableViewCell(kReuseIdentifier) {
    auto label = [this](const Rect& frame, Font font, Color color, TextAlignment alignment) {
        auto l = std::make_shared<Label>(frame);
        l->setFont(std::move(font));
        l->setTextColor(color);
        l->setTextAlignment(alignment);
        addSubview(l);
        return l;
    };
    ufficio_ = label(makeRect(10, 4, 300, 19), {"HelveticaNeue-Bold", 14}, appstyle::kCellTitle,
                     TextAlignment::Left);
    luogo_ = label(makeRect(10, 23, 220, 17), {"Helvetica", 13}, appstyle::kCellDetail,
                   TextAlignment::Left);
    distanza_ = label(makeRect(230, 23, 80, 17), {"HelveticaNeue-Bold", 13},
                      appstyle::kCellDistance, TextAlignment::Right);
}

void LumaspotCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ufficio_->setText("");
    luogo_->setText("");
    distanza_->setText("");
}

} // namespace vestrino
