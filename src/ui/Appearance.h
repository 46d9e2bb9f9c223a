#pragma once

#include <cstdint>

namespace vestrino::ui {

// The two looks the screens are painted in.
enum class Appearance { Light, Dark };

// What a colour is for. A colour that names its role is painted in the role's colour of the
// palette in use (see Palette); one that names none is painted as it is.
enum class ColorRole : std::uint8_t {
    None,
    // Texts: plain (a label's or a field's own), the screens' main, secondary and muted ones.
    Ink,
    Text,
    SecondaryText,
    MutedText,
    // What texts are read on: the screens' page, panels and rows, the fields' fill.
    Background,
    Surface,
    FieldFill,
    // The accent (titles, links, outlined buttons), what is written on it, the bars.
    Accent,
    OnAccent,
    Bars,
    // A button that adds something; money coming in.
    Positive,
    Credit,
    // Alerts: the panel, its text, its buttons and their titles, the screen dimmed under it.
    AlertPanel,
    AlertText,
    AlertButton,
    AlertButtonTitle,
    AlertButtonTitleHighlighted,
    Dim,
    // Text fields and the focus.
    FieldPlaceholder,
    FieldEdge,
    FocusRing,
    FocusRingHalo,
    Caret,
    Selection,
    // Switches.
    SwitchOff,
    SwitchOn,
    SwitchKnob,
    SwitchKnobPressed,
    // Table rows.
    Row,
    RowSelected,
    RowSeparator,
    // The statement's chart: the kinds of what went out, the month chosen, the axis.
    ChartKind1,
    ChartKind2,
    ChartKind3,
    ChartKind4,
    ChartKind5,
    ChartKind6,
    ChartChosen,
    ChartAxis,
    Spinner,
    Count
};

} // namespace vestrino::ui
