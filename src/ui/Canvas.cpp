#include "ui/Canvas.h"

namespace vestrino::ui {

void Canvas::drawImageStretched(const UIImage& image, const Rect& dest) {
    const Size s = image.size();
    if (!image.stretchable()) {
        drawImage(image, {{0, 0}, s}, dest);
        return;
    }
    // The cap on the right (bottom) is as wide as the left (top) one, less the one stretched
    // column (row) in the middle, as the phone's stretchable images are.
    const double left = image.leftCapWidth(), top = image.topCapHeight();
    const double right = left > 0 ? std::max(0.0, s.width - left - 1) : 0;
    const double bottom = top > 0 ? std::max(0.0, s.height - top - 1) : 0;
    const double xs[] = {0, left, s.width - right, s.width};
    const double ys[] = {0, top, s.height - bottom, s.height};
    // Caps larger than the destination shrink together so they never overlap.
    const double fx = left + right > dest.width() ? dest.width() / (left + right) : 1.0;
    const double fy = top + bottom > dest.height() ? dest.height() / (top + bottom) : 1.0;
    const double xd[] = {dest.minX(), dest.minX() + left * fx, dest.maxX() - right * fx,
                         dest.maxX()};
    const double yd[] = {dest.minY(), dest.minY() + top * fy, dest.maxY() - bottom * fy,
                         dest.maxY()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Rect src =
                makeRect(xs[col], ys[row], xs[col + 1] - xs[col], ys[row + 1] - ys[row]);
            const Rect dst =
                makeRect(xd[col], yd[row], xd[col + 1] - xd[col], yd[row + 1] - yd[row]);
            if (!src.isEmpty() && !dst.isEmpty()) {
                drawImage(image, src, dst);
            }
        }
    }
}

} // namespace vestrino::ui
