#include "app/UIBannerView.h"

#include "service/RemoteServiceUtil.h"

namespace vestrino {

namespace {
std::shared_ptr<ui::UIImage> fetchBanner() {
    auto image = RemoteServiceUtil::banner();
    if (!image) {
        return nullptr;
    }
    auto picture = std::make_shared<ui::UIImage>(std::move(*image));
    return picture;
}
} // namespace

std::shared_ptr<UIBannerView> UIBannerView::initWithFrame(const ui::Rect& frame) {
    auto picture = fetchBanner();
    if (!picture) {
        return nullptr;
    }
    auto view = std::make_shared<UIBannerView>();
    view->setFrame(frame);
    // The picture keeps its shape: it covers the view, the overflow cut.
    view->setContentMode(ui::ContentMode::AspectFill);
    view->setClipsToBounds(true);
    view->setResamplesOnce(true);
    view->setImage(picture);
    return view;
}

std::shared_ptr<UIBannerView> UIBannerView::initWithCoder() {
    auto view = std::make_shared<UIBannerView>();
    view->setResamplesOnce(true);
    view->setImage(fetchBanner());
    return view;
}

} // namespace vestrino
