#include "app/chrome/LaunchScreenView.h"

#include "app/chrome/AppStyle.h"
#include "ui/UIImage.h"

namespace vestrino {

LaunchScreenView::LaunchScreenView(const ui::Rect& frame) : View(frame) {
    setBackgroundColor(appstyle::kPageBackground);
    auto header = std::make_shared<ui::ImageView>(ui::UIImage::imageNamed("vestrino_head_320.png"));
    header->setFrame(ui::makeRect(0, 0, frame.width(), 55));
    addSubview(header);
}

} // namespace vestrino
