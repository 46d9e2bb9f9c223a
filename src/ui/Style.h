#pragma once

#include "ui/Palette.h"

// The view layer's own colours, by role (Palette gives each its light and dark look), in one
// place so that their contrast can be checked together: text at least 4.5:1 against what is
// behind it, edges and marks at least 3:1 (WCAG 2.1 AA).
namespace vestrino::ui::style {

using palette::role;

inline constexpr Color kAccent = role(ColorRole::Accent);
inline constexpr Color kBars = role(ColorRole::Bars); // the navigation bar and the toolbar
// Texts that name no colour of their own.
inline constexpr Color kInk = role(ColorRole::Ink);
// Alerts: a pale panel, its text in black, pale buttons with accent titles.
inline constexpr Color kAlertPanel = role(ColorRole::AlertPanel);
inline constexpr Color kAlertText = role(ColorRole::AlertText);
inline constexpr Color kAlertButton = role(ColorRole::AlertButton);
inline constexpr Color kAlertButtonTitle = role(ColorRole::AlertButtonTitle);
inline constexpr Color kAlertButtonTitleHighlighted = role(ColorRole::AlertButtonTitleHighlighted);
// The screen under an alert, dimmed.
inline constexpr Color kDim = role(ColorRole::Dim);
// The corners of an alert's panel, and of every panel shown above a screen like one.
inline constexpr double kPanelCornerRadius = 16;
// Text fields.
inline constexpr Color kFieldPlaceholder = role(ColorRole::FieldPlaceholder);
inline constexpr Color kFieldEdge = role(ColorRole::FieldEdge);
inline constexpr Color kFocusRing = role(ColorRole::FocusRing);
inline constexpr double kFocusRingWidth = 2;
// A line round the focus ring of a control in the page's colour, so that the ring also shows
// on the bars.
inline constexpr Color kFocusRingHalo = role(ColorRole::FocusRingHalo);
inline constexpr Color kCaret = role(ColorRole::Caret);
inline constexpr Color kSelection = role(ColorRole::Selection);
// Switches: the track off and on, the knob.
inline constexpr Color kSwitchOff = role(ColorRole::SwitchOff);
inline constexpr Color kSwitchOn = role(ColorRole::SwitchOn);
inline constexpr Color kSwitchKnob = role(ColorRole::SwitchKnob);
inline constexpr Color kSwitchKnobPressed = role(ColorRole::SwitchKnobPressed);
// Table rows.
inline constexpr Color kRow = role(ColorRole::Row);
inline constexpr Color kRowSelected = role(ColorRole::RowSelected);
inline constexpr Color kRowSeparator = role(ColorRole::RowSeparator);

} // namespace vestrino::ui::style
