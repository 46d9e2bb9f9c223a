#include "app/application/AppViewClasses.h"

#include "app/info/InfoViewController.h"
#include "app/info/UIBannerView.h"
#include "app/login/HomeViewController.h"
#include "app/statement/MovimentoCell.h"
#include "app/wallet/CarteViewController.h"
#include "app/wallet/QVImageView.h"
#include "app/wallet/QVPageControlView.h"
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
