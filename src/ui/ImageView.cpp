#include "ui/ImageView.h"
#include "ui/LayoutNode.h"

#include "core/ImageResampler.h"

#include <algorithm>
#include <cmath>

namespace vestrino::ui {

ImageView::ImageView(UIImagePtr image)
    : View(image ? Rect{{0, 0}, image->size()} : Rect{}), image_(std::move(image)) {
    setUserInteractionEnabled(false);
}

void ImageView::setImage(UIImagePtr image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlightedImage(UIImagePtr image) {
    highlightedImage_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlighted(bool on) {
    highlighted_ = on;
    setNeedsDisplay();
}

Rect ImageView::placement(Size s, const Rect& rect, ContentMode mode) {
    switch (mode) {
    case ContentMode::Center:
        return {{rect.minX() + (rect.width() - s.width) / 2,
                 rect.minY() + (rect.height() - s.height) / 2},
                s};
    case ContentMode::Top:
        return {{rect.minX() + (rect.width() - s.width) / 2, rect.minY()}, s};
    case ContentMode::AspectFit:
    case ContentMode::AspectFill: {
        if (s.width <= 0 || s.height <= 0) {
            return rect;
        }
        const double fx = rect.width() / s.width, fy = rect.height() / s.height;
        const double f = mode == ContentMode::AspectFit ? std::min(fx, fy) : std::max(fx, fy);
        const Size scaled{s.width * f, s.height * f};
        return {{rect.minX() + (rect.width() - scaled.width) / 2,
                 rect.minY() + (rect.height() - scaled.height) / 2},
                scaled};
    }
    case ContentMode::ScaleToFill:
    default:
        return rect;
    }
}

const UIImagePtr& ImageView::shownImage() const {
    return highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
}

Rect ImageView::drawnRect(const UIImage& shown, const Rect& rect) const {
    return shown.stretchable() || contentMode() == ContentMode::ScaleToFill
               ? rect
               : placement(shown.size(), rect, contentMode());
}

void ImageView::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    const UIImagePtr& shown = shownImage();
    if (!shown) {
        return;
    }
    if (shown->stretchable() || contentMode() == ContentMode::ScaleToFill) {
        canvas.drawImageStretched(*shown, drawnRect(*shown, rect));
        return;
    }
    const Rect drawn = drawnRect(*shown, rect);
    const UIImagePtr picture =
        resamplesOnce_ ? resampled(shown, drawn, canvas.pixelsPerPoint()) : shown;
    canvas.pushClip(rect);
    canvas.drawImage(*picture, {{0, 0}, picture->size()}, drawn);
    canvas.popClip();
}

void ImageView::setResamplesOnce(bool on) {
    resamplesOnce_ = on;
    resampled_.reset();
    setNeedsDisplay();
}

UIImagePtr ImageView::resampled(const UIImagePtr& shown, const Rect& drawn, double pixelsPerPoint) {
    const int width = static_cast<int>(std::lround(drawn.width() * pixelsPerPoint));
    const int height = static_cast<int>(std::lround(drawn.height() * pixelsPerPoint));
    if (width <= 0 || height <= 0 ||
        (width == shown->pixels().width && height == shown->pixels().height)) {
        return shown;
    }
    if (!resampled_ || resampledFrom_ != shown->identity() || resampledWidth_ != width ||
        resampledHeight_ != height) {
        // Its size in points is the drawn size: the renderer copies it pixel for pixel.
        resampled_ =
            std::make_shared<UIImage>(ImageResampler::resized(shown->pixels(), width, height),
                                      static_cast<double>(width) / drawn.width());
        resampledFrom_ = shown->identity();
        resampledWidth_ = width;
        resampledHeight_ = height;
    }
    return resampled_;
}

void ImageView::describe(ViewDescription& node) const {
    View::describe(node);
    const UIImagePtr& shown = shownImage();
    node.set("image", shown ? ViewDescription::Value(shown->name()) : nullptr);
    node.set("highlighted", highlighted_);
    if (resampled_) {
        node.setList("resampledPixels", {resampledWidth_, resampledHeight_});
    }
    if (shown) {
        // Where the picture is drawn, in the view's own points, and its own size: a snapshot
        // shows whether it keeps its shape.
        const Size s = shown->size();
        const Rect r = drawnRect(*shown, bounds());
        node.setList("imageSize", {s.width, s.height});
        node.setRect("drawnRect", r);
    }
}

Rect ImageView::focusRingRect(const Rect& rect) const {
    const UIImagePtr& shown = shownImage();
    if (!shown || shown->size().width <= 0 || shown->size().height <= 0) {
        return View::focusRingRect(rect);
    }
    // Round what the picture shows, where it is drawn.
    const Rect drawn = drawnRect(*shown, rect);
    const Rect opaque = shown->opaqueBounds();
    const double sx = drawn.width() / shown->size().width;
    const double sy = drawn.height() / shown->size().height;
    return View::focusRingRect(makeRect(drawn.minX() + opaque.minX() * sx,
                                        drawn.minY() + opaque.minY() * sy, opaque.width() * sx,
                                        opaque.height() * sy));
}

void ImageView::applyLayout(const LayoutNode& node) {
    if (node.has("image"))
        setImage(node.image("image"));
    if (node.has("highlightedImage"))
        setHighlightedImage(node.image("highlightedImage"));
    View::applyLayout(node);
}

} // namespace vestrino::ui
