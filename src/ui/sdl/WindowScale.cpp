#include "ui/sdl/WindowScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace vestrino::ui {

WindowScale WindowScale::choose(Size points, std::optional<double> asked, double desktop,
                                const Rect& usable) {
    const double wanted = std::max(1.0, asked.value_or(desktop));
    auto fits = [&](double s) {
        return usable.isEmpty() ||
               (points.width * s <= usable.width() && points.height * s <= usable.height());
    };
    double scale = wanted;
    // Whole steps down (2.5 → 2 → 1): the pictures are drawn for one and two pixels a point.
    while (scale > 1 && !fits(scale)) {
        scale = std::max(1.0, std::ceil(scale) - 1);
    }
    WindowScale chosen{scale, std::nullopt};
    if (asked && scale < *asked) {
        std::ostringstream note;
        note << "--scale " << *asked << " does not fit the screen (" << usable.width() << " × "
             << usable.height() << " pixels to use): the window opens at scale " << scale;
        chosen.note = note.str();
    }
    return chosen;
}

double WindowScale::desktopFactor() {
    if (const char* gdk = std::getenv("GDK_SCALE")) {
        char* end = nullptr;
        const long v = std::strtol(gdk, &end, 10);
        if (end != gdk && *end == '\0' && v >= 1 && v <= 4) {
            return static_cast<double>(v);
        }
    }
    return 1;
}

Point WindowScale::placement(Size size, const Rect& usable) {
    return {usable.minX() + std::max(0.0, std::floor((usable.width() - size.width) / 2)),
            usable.minY() + std::max(0.0, std::floor((usable.height() - size.height) / 2))};
}

} // namespace vestrino::ui
