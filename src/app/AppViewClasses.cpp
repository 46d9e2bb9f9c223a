#include "app/AppViewClasses.h"

#include "app/CarteViewController.h"
#include "app/HomeViewController.h"
#include "app/InfoViewController.h"
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
    // The screens the toolbar and a logout lead to.
    using Place = VestrinoVC::Place;
    VestrinoVC::setScreenMaker(Place::Login, [] { return std::make_shared<HomeViewController>(); });
    VestrinoVC::setScreenMaker(Place::Wallet,
                               [] { return std::make_shared<CarteViewController>(); });
    VestrinoVC::setScreenMaker(Place::Info, [] { return std::make_shared<InfoViewController>(); });
}

} // namespace vestrino
