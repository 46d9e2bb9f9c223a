#include "app/UIBannerView.h"

#include "service/RemoteServiceUtil.h"

namespace vestrino {

namespace {
std::shared_ptr<ui::UIImage> fetchBanner() {
    // A picture the service sent but that cannot be decoded gives no banner either.
    const auto bytes = RemoteServiceUtil::banner();
    return bytes ? ui::UIImage::initWithData(*bytes) : nullptr;
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
