#include "ui/Palette.h"

#include <algorithm>

namespace vestrino::ui {

namespace {
// The table is in the order of the roles: a role's entry is found by its number.
constexpr bool inOrder() {
    for (std::size_t i = 0; i < palette::kEntries.size(); ++i) {
        if (static_cast<std::size_t>(palette::kEntries[i].role) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inOrder(), "palette::kEntries must list the roles in the order of ColorRole");

const Palette::Entry& entry(ColorRole role) {
    const auto i = static_cast<std::size_t>(role);
    return palette::kEntries[i < palette::kEntries.size() ? i : 0];
}
} // namespace

const Palette& Palette::light() {
    static const Palette p(Appearance::Light);
    return p;
}

const Palette& Palette::dark() {
    static const Palette p(Appearance::Dark);
    return p;
}

const Palette& Palette::of(Appearance appearance) {
    return appearance == Appearance::Dark ? dark() : light();
}

Color Palette::color(ColorRole role) const {
    const Entry& e = entry(role);
    return appearance_ == Appearance::Dark ? e.dark : e.light;
}

Color Palette::resolve(const Color& c) const {
    if (c.role == ColorRole::None) {
        return c;
    }
    const Entry& e = entry(c.role);
    Color out = color(c.role);
    // A role's colour made fainter by the code (a spinner's spokes) stays as faint here.
    if (e.light.a > 0 && c.a != e.light.a) {
        out.a = std::min(1.0f, out.a * (c.a / e.light.a));
    }
    out.role = ColorRole::None;
    return out;
}

std::optional<ColorRole> Palette::roleNamed(std::string_view name) {
    for (const Entry& e : palette::kEntries) {
        if (e.role != ColorRole::None && e.name == name) {
            return e.role;
        }
    }
    return std::nullopt;
}

std::string_view Palette::nameOf(ColorRole role) {
    return entry(role).name;
}

} // namespace vestrino::ui
