#pragma once

#include "ui/Geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrino::ui {

// The phone screen the application runs on, in the points of that device (320 × 480 by default;
// 320 × 568, 360 × 720 and 360 × 780 are common). The screens are laid out 320 points wide at
// any height from 480 to 800: a wider device shows the whole 320-point screen scaled to its
// width (360 points wide is a zoom of 1.125), and the height left after that zoom is the height
// the views lay out in, where the bars stay at the top and the bottom and the lists grow.
struct ScreenSize {
    static constexpr double kLayoutWidth = 320;
    static constexpr double kMinLayoutHeight = 480;
    static constexpr double kMaxLayoutHeight = 800;

    double width = kLayoutWidth;
    double height = kMinLayoutHeight;

    // Device points a layout point.
    double zoom() const { return width / kLayoutWidth; }
    // The window's frame, in layout points (whole points: a fraction is cut off).
    Rect layoutFrame() const;

    // "WxH" in points (360x720); nothing, with the reason in `error`, when it is not a size the
    // screens can be laid out in.
    static std::optional<ScreenSize> parse(std::string_view text, std::string& error);
};

} // namespace vestrino::ui
