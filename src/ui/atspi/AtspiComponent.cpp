#include "ui/atspi/AtspiComponent.h"

#include <cmath>

namespace vestrino::ui::atspi {

namespace {
constexpr const char* kNullPath = "/org/a11y/atspi/null";
} // namespace

AtspiComponent::AtspiComponent(AccessibleObjects& objects,
                               std::function<ScreenPlacement()> placement)
    : objects_(objects), placement_(std::move(placement)) {}

std::array<int, 4> AtspiComponent::extents(const View& view, std::uint32_t coordType) const {
    const ScreenPlacement p = placement_ ? placement_() : ScreenPlacement{};
    const Rect r = view.windowFrame();
    std::array<int, 4> e = {static_cast<int>(std::lround(r.minX() * p.scale)),
                            static_cast<int>(std::lround(r.minY() * p.scale)),
                            static_cast<int>(std::lround(r.width() * p.scale)),
                            static_cast<int>(std::lround(r.size.height * p.scale))};
    if (coordType == 0) { // the screen
        e[0] += p.x;
        e[1] += p.y;
    } else if (coordType == 2) { // the parent
        if (const View* above = objects_.parent(view)) {
            const auto pe = extents(*above, 1);
            e[0] -= pe[0];
            e[1] -= pe[1];
        }
    }
    return e;
}

View* AtspiComponent::viewAt(View& within, int x, int y, std::uint32_t coordType) const {
    for (View* child : objects_.children(within)) {
        const auto e = extents(*child, coordType == 2 ? 1 : coordType);
        if (x >= e[0] && x < e[0] + e[2] && y >= e[1] && y < e[1] + e[3]) {
            View* deeper = viewAt(*child, x, y, coordType);
            return deeper ? deeper : child;
        }
    }
    return nullptr;
}

GVariant* AtspiComponent::call(View& view, std::string_view method, GVariant* parameters,
                               const Reference& reference) const {
    if (method == "GetExtents") {
        guint32 type = 0;
        g_variant_get(parameters, "(u)", &type);
        const auto e = extents(view, type);
        return g_variant_new("((iiii))", e[0], e[1], e[2], e[3]);
    }
    if (method == "GetPosition") {
        guint32 type = 0;
        g_variant_get(parameters, "(u)", &type);
        const auto e = extents(view, type);
        return g_variant_new("(ii)", e[0], e[1]);
    }
    if (method == "GetSize") {
        const auto e = extents(view, 1);
        return g_variant_new("(ii)", e[2], e[3]);
    }
    if (method == "Contains") {
        gint32 x = 0, y = 0;
        guint32 type = 0;
        g_variant_get(parameters, "(iiu)", &x, &y, &type);
        const auto e = extents(view, type);
        return g_variant_new("(b)", x >= e[0] && x < e[0] + e[2] && y >= e[1] && y < e[1] + e[3]);
    }
    if (method == "GetAccessibleAtPoint") {
        gint32 x = 0, y = 0;
        guint32 type = 0;
        g_variant_get(parameters, "(iiu)", &x, &y, &type);
        if (View* hit = viewAt(view, x, y, type)) {
            return g_variant_new("(@(so))", reference(hit));
        }
        return g_variant_new("((so))", "", kNullPath);
    }
    if (method == "GetLayer") {
        return g_variant_new("(u)", 3u); // a widget's layer
    }
    if (method == "GetMDIZOrder") {
        return g_variant_new("(n)", static_cast<gint16>(0));
    }
    if (method == "GrabFocus") {
        return g_variant_new("(b)", view.canBecomeFocused() && view.becomeFirstResponder());
    }
    if (method == "GetAlpha") {
        return g_variant_new("(d)", view.alpha());
    }
    if (method == "SetExtents" || method == "SetPosition" || method == "SetSize" ||
        method == "ScrollTo" || method == "ScrollToPoint") {
        return g_variant_new("(b)", FALSE); // the layout places every view
    }
    return nullptr;
}

} // namespace vestrino::ui::atspi
