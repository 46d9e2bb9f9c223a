#include "app/info/UIBannerView.h"

#include "core/BackgroundTask.h"
#include "core/RunLoop.h"
#include "service/RemoteServiceUtil.h"

namespace vestrino {

void UIBannerView::fetch(Fetched done) {
    BackgroundTask::detach([done = std::move(done)]() mutable {
        const auto bytes = RemoteServiceUtil::banner();
        // Decoded here too, off the main thread: the launch's first frame does not wait for it.
        // A picture the service sent but that cannot be decoded gives no banner either.
        auto picture = bytes ? ui::UIImage::initWithData(*bytes) : nullptr;
        RunLoop::main().post(
            [done = std::move(done), picture = std::move(picture)] { done(picture); });
    });
}

std::shared_ptr<UIBannerView> UIBannerView::initWithFrame(const ui::Rect& frame,
                                                          std::shared_ptr<ui::UIImage> picture) {
    auto view = std::make_shared<UIBannerView>();
    view->setFrame(frame);
    // The picture keeps its shape: it covers the view, the overflow cut.
    view->setContentMode(ui::ContentMode::AspectFill);
    view->setClipsToBounds(true);
    view->setResamplesOnce(true);
    view->setImage(std::move(picture));
    return view;
}

std::shared_ptr<UIBannerView> UIBannerView::initWithCoder() {
    auto view = std::make_shared<UIBannerView>();
    view->setResamplesOnce(true);
    std::weak_ptr<UIBannerView> weak = view;
    fetch([weak](std::shared_ptr<ui::UIImage> picture) {
        if (auto v = weak.lock(); v && picture) {
            v->setImage(std::move(picture));
        }
    });
    return view;
}

} // namespace vestrino
