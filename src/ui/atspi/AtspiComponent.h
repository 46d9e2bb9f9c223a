#pragma once

#include "ui/AssistiveTechnology.h"
#include "ui/atspi/AccessibleObjects.h"

#include <gio/gio.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace vestrino::ui::atspi {

// The Component interface: where a view is (in pixels, on the screen, in the window or within
// its parent: the AT-SPI coordinate types 0, 1 and 2), which view is at a point, the focus
// taken. The layout places every view: nothing is moved or resized from outside.
class AtspiComponent {
public:
    // A view's object reference as the bus passes one, (so).
    using Reference = std::function<GVariant*(View*)>;

    AtspiComponent(AccessibleObjects& objects, std::function<ScreenPlacement()> placement);

    std::array<int, 4> extents(const View& view, std::uint32_t coordType) const;
    // The deepest view seen under a point given in one of those coordinate types.
    View* viewAt(View& within, int x, int y, std::uint32_t coordType) const;
    GVariant* call(View& view, std::string_view method, GVariant* parameters,
                   const Reference& reference) const;

private:
    AccessibleObjects& objects_;
    std::function<ScreenPlacement()> placement_;
};

} // namespace vestrino::ui::atspi
