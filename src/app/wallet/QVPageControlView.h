#pragma once

#include "ui/ImageView.h"

#include <cstdint>
#include <map>

namespace vestrino {

class QVPageControlView;

class QVPageControlViewDelegate {
public:
    virtual ~QVPageControlViewDelegate() = default;
    virtual void qvPageControlPageChanged(QVPageControlView& control, std::int32_t page) = 0;
};

// One dot per page (counted from 1), the selected page's blue and the others yellow; touching
// a dot tells the delegate, then selects it.
class QVPageControlView : public ui::View {
public:
    explicit QVPageControlView(const ui::Rect& frame = {});

    std::uint32_t numberOfPages() const { return numberOfPages_; }
    void setNumberOfPages(std::uint32_t n);
    std::uint32_t selectedPage() const { return selectedPage_; }
    void setSelectedPage(std::uint32_t page);
    QVPageControlViewDelegate* delegate() const { return delegate_; }
    void setDelegate(QVPageControlViewDelegate* delegate) { delegate_ = delegate; }

    // Lays the dots out again when their number changed, else swaps their pictures.
    void layoutBullets();

    // The first size the indicator gets lays out dots it could not place before.
    void layoutSubviews() override;
    void draw(ui::Canvas& canvas, const ui::Rect& rect) override;
    void touchesBegan(const ui::Touch& touch) override;
    void touchesEnded(const ui::Touch&) override {}
    std::string className() const override { return "QVPageControlView"; }
    void describe(ui::ViewDescription& node) const override;

private:
    QVPageControlViewDelegate* delegate_ = nullptr;
    std::uint32_t numberOfPages_ = 1;
    std::uint32_t selectedPage_ = 1;
    std::map<std::uint32_t, std::shared_ptr<ui::ImageView>> bulletDict_;
    std::shared_ptr<ui::UIImage> imgBulletOff_;
    std::shared_ptr<ui::UIImage> imgBulletOn_;
};

} // namespace vestrino
