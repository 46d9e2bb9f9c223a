#pragma once

#include "ui/Appearance.h"
#include "ui/Geometry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vestrino::ui {

// The colours of one look: a colour for every role. The light palette is the application's
// original look; the dark one is drawn for a dark desktop (dark greys with a blue cast, the
// accent and the amounts lightened so that they read on them), not the light one inverted.
// Every pair a screen shows meets WCAG 2.1 AA in both, which the tests check.
class Palette {
public:
    // One role's colours, and its name in the layouts ("@accent").
    struct Entry {
        ColorRole role;
        std::string_view name;
        Color light;
        Color dark;
    };

    static const Palette& light();
    static const Palette& dark();
    static const Palette& of(Appearance appearance);

    Appearance appearance() const { return appearance_; }
    // The role's colour in this palette (clear for no role).
    Color color(ColorRole role) const;
    // What is painted for the colour: its role's colour here, as faint as the colour is made;
    // a colour without a role as it is.
    Color resolve(const Color& color) const;

    // The role a layout names ("accent" for "@accent"), if it is one.
    static std::optional<ColorRole> roleNamed(std::string_view name);
    static std::string_view nameOf(ColorRole role);

private:
    explicit Palette(Appearance appearance) : appearance_(appearance) {}
    Appearance appearance_;
};

namespace palette {

constexpr Color rgb(int r, int g, int b, float a = 1) {
    return Color::rgb(r, g, b, a);
}

// Every role, in the order of ColorRole. The light colours are the ones the screens always had.
inline constexpr std::array<Palette::Entry, static_cast<std::size_t>(ColorRole::Count)> kEntries{{
    {ColorRole::None, "none", {0, 0, 0, 0}, {0, 0, 0, 0}},
    {ColorRole::Ink, "ink", rgb(0, 0, 0), rgb(236, 239, 244)},
    {ColorRole::Text, "text", rgb(31, 41, 55), rgb(230, 233, 239)},
    {ColorRole::SecondaryText, "secondaryText", rgb(60, 70, 90), rgb(184, 191, 204)},
    {ColorRole::MutedText, "mutedText", rgb(91, 101, 119), rgb(154, 163, 178)},
    {ColorRole::Background, "background", rgb(242, 244, 247), rgb(18, 20, 24)},
    {ColorRole::Surface, "surface", rgb(255, 255, 255), rgb(30, 34, 40)},
    {ColorRole::FieldFill, "fieldFill", rgb(238, 241, 246), rgb(38, 43, 51)},
    {ColorRole::Accent, "accent", rgb(11, 61, 145), rgb(138, 180, 248)},
    {ColorRole::OnAccent, "onAccent", rgb(255, 255, 255), rgb(255, 255, 255)},
    {ColorRole::Bars, "bars", rgb(11, 61, 145), rgb(27, 42, 68)},
    {ColorRole::Positive, "positive", rgb(26, 115, 64), rgb(111, 208, 140)},
    {ColorRole::Credit, "credit", rgb(22, 105, 47), rgb(92, 200, 122)},
    {ColorRole::AlertPanel, "alertPanel", rgb(248, 249, 251), rgb(38, 43, 51)},
    {ColorRole::AlertText, "alertText", rgb(0, 0, 0), rgb(236, 239, 244)},
    {ColorRole::AlertButton, "alertButton", rgb(232, 236, 243), rgb(52, 58, 68)},
    {ColorRole::AlertButtonTitle, "alertButtonTitle", rgb(11, 61, 145), rgb(138, 180, 248)},
    {ColorRole::AlertButtonTitleHighlighted, "alertButtonTitleHighlighted", rgb(40, 80, 150),
     rgb(179, 205, 250)},
    {ColorRole::Dim, "dim", {0, 0, 0, 0.45f}, {0, 0, 0, 0.6f}},
    {ColorRole::FieldPlaceholder, "fieldPlaceholder", rgb(95, 102, 114), rgb(154, 163, 178)},
    {ColorRole::FieldEdge, "fieldEdge", rgb(118, 127, 140), rgb(125, 134, 150)},
    {ColorRole::FocusRing, "focusRing", rgb(11, 61, 145), rgb(138, 180, 248)},
    {ColorRole::FocusRingHalo, "focusRingHalo", rgb(255, 255, 255), rgb(18, 20, 24)},
    {ColorRole::Caret, "caret", rgb(11, 61, 145), rgb(138, 180, 248)},
    {ColorRole::Selection, "selection", rgb(182, 205, 240), rgb(47, 74, 120)},
    {ColorRole::SwitchOff, "switchOff", rgb(120, 128, 140), rgb(125, 134, 150)},
    {ColorRole::SwitchOn, "switchOn", rgb(11, 61, 145), rgb(58, 111, 196)},
    {ColorRole::SwitchKnob, "switchKnob", rgb(255, 255, 255), rgb(230, 233, 239)},
    {ColorRole::SwitchKnobPressed, "switchKnobPressed", rgb(225, 229, 236), rgb(197, 203, 213)},
    {ColorRole::Row, "row", rgb(255, 255, 255), rgb(30, 34, 40)},
    {ColorRole::RowSelected, "rowSelected", rgb(214, 226, 245), rgb(42, 59, 88)},
    {ColorRole::RowSeparator, "rowSeparator", rgb(224, 228, 234), rgb(52, 58, 68)},
    {ColorRole::ChartKind1, "chartKind1", rgb(11, 61, 145), rgb(138, 180, 248)},
    {ColorRole::ChartKind2, "chartKind2", rgb(0, 120, 150), rgb(79, 195, 217)},
    {ColorRole::ChartKind3, "chartKind3", rgb(122, 73, 165), rgb(195, 155, 232)},
    {ColorRole::ChartKind4, "chartKind4", rgb(176, 104, 0), rgb(224, 160, 74)},
    {ColorRole::ChartKind5, "chartKind5", rgb(190, 52, 40), rgb(240, 122, 106)},
    {ColorRole::ChartKind6, "chartKind6", rgb(107, 114, 128), rgb(160, 168, 182)},
    {ColorRole::ChartChosen, "chartChosen", rgb(226, 234, 247), rgb(42, 59, 88)},
    {ColorRole::ChartAxis, "chartAxis", rgb(107, 114, 128), rgb(138, 147, 163)},
    {ColorRole::Spinner, "spinner", rgb(11, 61, 145), rgb(138, 180, 248)},
}};

// The colour of a role, as code names it: its light look, and the role that the palette in use
// paints it by.
constexpr Color role(ColorRole r) {
    Color c = kEntries[static_cast<std::size_t>(r)].light;
    c.role = r;
    return c;
}

} // namespace palette

} // namespace vestrino::ui
