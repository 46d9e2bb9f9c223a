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

// Both are drawn a row of device pixels at a time, on whole pixels: the window's renderer and
// the software one of the snapshots then paint the same pixels, and the corners look alike in
// both.
namespace {

struct PixelRows {
    Rect rect;   // the rectangle, its edges on whole pixels
    double step; // one device pixel, in points
    int count;
};

PixelRows pixelRows(const Rect& r, double ppp) {
    auto snap = [ppp](double v) { return std::round(v * ppp) / ppp; };
    const double x0 = snap(r.minX()), y0 = snap(r.minY());
    const Rect snapped = makeRect(x0, y0, snap(r.maxX()) - x0, snap(r.maxY()) - y0);
    return {snapped, 1.0 / ppp, static_cast<int>(std::lround(snapped.height() * ppp))};
}

} // namespace

void Canvas::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
    const double ppp = pixelsPerPoint();
    const auto [r, step, rows] = pixelRows(rect, ppp);
    radius = std::min(radius, std::min(r.width(), r.height()) / 2);
    if (radius <= 0) {
        fillRect(r, color);
        return;
    }
    auto snap = [ppp](double v) { return std::round(v * ppp) / ppp; };
    for (int i = 0; i < rows; ++i) {
        const double y = i * step;
        const double fromEdge = std::min(y + step / 2, r.height() - y - step / 2);
        if (fromEdge >= radius) {
            // The straight middle, in one piece.
            const int last = rows - 1 - i;
            fillRect(makeRect(r.minX(), r.minY() + y, r.width(), (last - i + 1) * step), color);
            i = last;
            continue;
        }
        const double inset = cornerInset(radius, fromEdge);
        const double x0 = snap(r.minX() + inset), x1 = snap(r.maxX() - inset);
        if (x1 > x0) {
            fillRect(makeRect(x0, r.minY() + y, x1 - x0, step), color);
        }
    }
}

void Canvas::strokeRoundedRect(const Rect& rect, double radius, double width, const Color& color) {
    const double ppp = pixelsPerPoint();
    const auto [r, step, rows] = pixelRows(rect, ppp);
    radius = std::min(radius, std::min(r.width(), r.height()) / 2);
    const double inner = std::max(0.0, radius - width);
    auto snap = [ppp](double v) { return std::round(v * ppp) / ppp; };
    for (int i = 0; i < rows; ++i) {
        const double y = i * step;
        const double fromEdge = std::min(y + step / 2, r.height() - y - step / 2);
        const double outerInset = cornerInset(radius, fromEdge);
        const double x0 = snap(r.minX() + outerInset), x3 = snap(r.maxX() - outerInset);
        if (x3 <= x0) {
            continue;
        }
        if (fromEdge < width) {
            fillRect(makeRect(x0, r.minY() + y, x3 - x0, step), color);
            continue;
        }
        const double innerInset = width + cornerInset(inner, fromEdge - width);
        // At least a pixel on each side, so that a steep part of a corner shows.
        const double x1 = std::max(snap(r.minX() + innerInset), x0 + step);
        const double x2 = std::min(snap(r.maxX() - innerInset), x3 - step);
        fillRect(makeRect(x0, r.minY() + y, x1 - x0, step), color);
        fillRect(makeRect(x2, r.minY() + y, x3 - x2, step), color);
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
