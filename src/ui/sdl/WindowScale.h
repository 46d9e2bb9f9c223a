#pragma once

#include "ui/Geometry.h"

#include <optional>
#include <string>

namespace vestrino::ui {

// How many pixels a point the window gets: the one asked for (--scale), or else the desktop's
// scale factor, lowered a whole step at a time until the window fits the area of the display it
// may use (1 at least: nothing smaller is readable). A scale asked for that does not fit is
// lowered the same way, with a line saying so.
struct WindowScale {
    double scale = 1;
    std::optional<std::string> note; // for standard error, when an asked scale was lowered

    static WindowScale choose(Size points, std::optional<double> asked, double desktop,
                              const Rect& usable);
    // The desktop's scale factor from the environment (GDK_SCALE, as GTK and SDL's own apps
    // read it); 1 when nothing says.
    static double desktopFactor();
    // Where a window of `size` pixels goes: centred in the usable area, never above or left of
    // it.
    static Point placement(Size size, const Rect& usable);
};

} // namespace vestrino::ui
