#include "app/AppViewClasses.h"

#include "app/QVPageControlView.h"
#include "app/UIBannerView.h"
#include "ui/LayoutLoader.h"

namespace vestrino {

void registerAppViewClasses() {
    ui::LayoutLoader::registerClass("UIBannerView", [] { return UIBannerView::initWithCoder(); });
    ui::LayoutLoader::registerClass("QVPageControlView",
                                    [] { return std::make_shared<QVPageControlView>(); });
}

} // namespace vestrino
