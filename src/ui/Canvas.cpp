#include "ui/Canvas.h"

#include <algorithm>
#include <cmath>

namespace vestrino::ui {

namespace {

// How far a row of a rounded rectangle starts in from its side: `y` is the row's middle,
// measured from the nearer of the top and bottom edges.
double cornerInset(double radius, double y) {
    if (y >= radius) {
        return 0;
    }
    const double dy = radius - y;
    return radius - std::sqrt(std::max(0.0, radius * radius - dy * dy));
}

} // namespace

void Canvas::fillRoundedRect(const Rect& r, double radius, const Color& color) {
    radius = std::min(radius, std::min(r.width(), r.height()) / 2);
    if (radius <= 0) {
        fillRect(r, color);
        return;
    }
    const double band = std::ceil(radius);
    if (r.height() > 2 * band) {
        fillRect(makeRect(r.minX(), r.minY() + band, r.width(), r.height() - 2 * band), color);
    }
    for (double y = 0; y < band && y < r.height() / 2; y += 1) {
        const double h = std::min(1.0, r.height() / 2 - y);
        const double inset = cornerInset(radius, y + 0.5);
        fillRect(makeRect(r.minX() + inset, r.minY() + y, r.width() - 2 * inset, h), color);
        fillRect(makeRect(r.minX() + inset, r.maxY() - y - h, r.width() - 2 * inset, h), color);
    }
}

void Canvas::strokeRoundedRect(const Rect& r, double radius, double width, const Color& color) {
    radius = std::min(radius, std::min(r.width(), r.height()) / 2);
    const double inner = std::max(0.0, radius - width);
    for (double y = 0; y < r.height(); y += 1) {
        const double h = std::min(1.0, r.height() - y);
        const double mid = y + h / 2;
        const double fromEdge = std::min(mid, r.height() - mid);
        const double outerInset = cornerInset(radius, fromEdge);
        if (fromEdge < width) {
            fillRect(makeRect(r.minX() + outerInset, r.minY() + y, r.width() - 2 * outerInset, h),
                     color);
            continue;
        }
        const double innerInset = width + cornerInset(inner, fromEdge - width);
        const double segment = innerInset - outerInset;
        fillRect(makeRect(r.minX() + outerInset, r.minY() + y, segment, h), color);
        fillRect(makeRect(r.maxX() - innerInset, r.minY() + y, segment, h), color);
    }
}

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
    // Shrunk alike in both directions, so that round corners stay round (a pill's ends do not
    // turn into points when the picture is taller than its button).
    const double f = std::min(left + right > dest.width() ? dest.width() / (left + right) : 1.0,
                              top + bottom > dest.height() ? dest.height() / (top + bottom) : 1.0);
    // The nine pieces meet on whole device pixels: a piece that ended inside a pixel would
    // share it with its neighbour, each painting it part-covered, and the background would
    // show through as a thin line.
    const double ppp = pixelsPerPoint();
    auto snap = [ppp](double v) { return std::round(v * ppp) / ppp; };
    const double xd[] = {snap(dest.minX()), snap(dest.minX() + left * f),
                         snap(dest.maxX() - right * f), snap(dest.maxX())};
    const double yd[] = {snap(dest.minY()), snap(dest.minY() + top * f),
                         snap(dest.maxY() - bottom * f), snap(dest.maxY())};
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
