#pragma once

#include "core/Clock.h"
#include "ui/Geometry.h"

namespace vestrino::ui {

class View;

// One finger (the mouse), in window points.
struct Touch {
    Point windowLocation;
    Point previousWindowLocation;
    TimePoint timestamp;
    // The point in the given view's coordinates.
    Point locationInView(const View& view) const;
};

} // namespace vestrino::ui
