#pragma once

#include "ui/UIImage.h"
#include "ui/View.h"

namespace vestrino::ui {

// A picture, drawn by the view's content mode (scale to fill, centre, top); the highlighted
// picture replaces it while the view is highlighted.
class ImageView : public View {
public:
    using View::View;
    explicit ImageView(UIImagePtr image);

    const UIImagePtr& image() const { return image_; }
    void setImage(UIImagePtr image);
    const UIImagePtr& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(UIImagePtr image);
    bool highlighted() const { return highlighted_; }
    void setHighlighted(bool on);
    // A picture from outside (the service's banner) that is drawn at a size other than its own
    // is resized once, with a good filter, to the pixels it covers, rather than stretched at
    // every frame with the renderer's linear filter (soft on a screen of two pixels a point).
    bool resamplesOnce() const { return resamplesOnce_; }
    void setResamplesOnce(bool on);

    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "ImageView"; }
    // A picture is seen by assistive technology only when it has a meaning to tell.
    AccessibleRole defaultAccessibleRole() const override {
        return accessibilityLabel().empty() ? AccessibleRole::None : AccessibleRole::Image;
    }
    void describe(ViewDescription& node) const override;
    void applyLayout(const LayoutNode& node) override;

    // Where a picture of the size lands in `rect` by the content mode.
    static Rect placement(Size image, const Rect& rect, ContentMode mode);
    // The ring goes round the picture as drawn.
    Rect focusRingRect(const Rect& rect) const override;

private:
    // The picture shown now (the highlighted one while highlighted, if there is one).
    const UIImagePtr& shownImage() const;
    // Where `shown` is drawn in `rect`: the whole of it when stretched, else its placement.
    Rect drawnRect(const UIImage& shown, const Rect& rect) const;

    // The shown picture resized to the pixels `drawn` covers (made once and kept).
    UIImagePtr resampled(const UIImagePtr& shown, const Rect& drawn, double pixelsPerPoint);

    UIImagePtr image_;
    UIImagePtr highlightedImage_;
    bool highlighted_ = false;
    bool resamplesOnce_ = false;
    // The last picture resampled: what it was made from, its size in pixels, and it.
    std::uint64_t resampledFrom_ = 0;
    int resampledWidth_ = 0;
    int resampledHeight_ = 0;
    UIImagePtr resampled_;
};

} // namespace vestrino::ui
