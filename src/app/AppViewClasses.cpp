#include "app/AppViewClasses.h"

#include "app/MovimentoCell.h"
#include "app/QVImageView.h"
#include "app/QVPageControlView.h"
#include "app/UIBannerView.h"
#include "ui/LayoutLoader.h"

namespace vestrino {

void registerAppViewClasses() {
    ui::LayoutLoader::registerClass("UIBannerView", [] { return UIBannerView::initWithCoder(); });
    ui::LayoutLoader::registerClass("QVPageControlView",
                                    [] { return std::make_shared<QVPageControlView>(); });
    ui::LayoutLoader::registerClass("QVImageView", [] { return std::make_shared<QVImageView>(); });
    ui::LayoutLoader::registerClass("MovimentoCell",
                                    [] { return std::make_shared<MovimentoCell>(); });
}

} // namespace vestrino
