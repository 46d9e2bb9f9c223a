#pragma once

#include "ui/Appearance.h"

#include <algorithm>
#include <cmath>

namespace vestrino::ui {

// Points on the 320 × 480 screen, y growing downwards.
struct Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
    Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    double width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    Point center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
    bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    Rect offsetBy(Point d) const { return {origin + d, size}; }
    Rect intersection(const Rect& o) const {
        const double x0 = std::max(minX(), o.minX()), y0 = std::max(minY(), o.minY());
        const double x1 = std::min(maxX(), o.maxX()), y1 = std::min(maxY(), o.maxY());
        return x1 <= x0 || y1 <= y0 ? Rect{} : Rect{{x0, y0}, {x1 - x0, y1 - y0}};
    }
};

inline Rect makeRect(double x, double y, double w, double h) {
    return {{x, y}, {w, h}};
}

// A colour, and what it is for: r, g, b and a are its look in the light palette; a colour with
// a role is painted in its role's colour of the palette in use (Palette::resolve).
struct Color {
    float r = 0, g = 0, b = 0, a = 1;
    ColorRole role = ColorRole::None;
    friend bool operator==(const Color&, const Color&) = default;
    static constexpr Color rgb(int r, int g, int b, float a = 1) {
        return {r / 255.0f, g / 255.0f, b / 255.0f, a};
    }
    // The same colour, fainter or stronger, keeping its role.
    constexpr Color withAlpha(float alpha) const { return {r, g, b, alpha, role}; }
    static constexpr Color white() { return {1, 1, 1, 1}; }
    static constexpr Color black() { return {0, 0, 0, 1}; }
    static constexpr Color clear() { return {0, 0, 0, 0}; }
};

// Linear interpolation, for animations.
inline double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline Rect lerp(const Rect& a, const Rect& b, double t) {
    return {{lerp(a.origin.x, b.origin.x, t), lerp(a.origin.y, b.origin.y, t)},
            {lerp(a.size.width, b.size.width, t), lerp(a.size.height, b.size.height, t)}};
}
inline Point lerp(Point a, Point b, double t) {
    return {lerp(a.x, b.x, t), lerp(a.y, b.y, t)};
}

} // namespace vestrino::ui
