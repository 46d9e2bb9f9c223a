#pragma once

#include "ui/Geometry.h"

// The view layer's own colours, in one place so that their contrast can be checked together:
// text at least 4.5:1 against what is behind it, edges and marks at least 3:1 (WCAG 2.1 AA).
namespace vestrino::ui::style {

inline constexpr Color kAccent = Color::rgb(11, 61, 145);
inline constexpr Color kBars = kAccent; // the navigation bar and the toolbar
// Alerts: a pale panel, its text in black, pale buttons with accent titles.
inline constexpr Color kAlertPanel = Color::rgb(248, 249, 251);
inline constexpr Color kAlertText = Color::rgb(0, 0, 0);
inline constexpr Color kAlertButton = Color::rgb(232, 236, 243);
inline constexpr Color kAlertButtonTitle = kAccent;
inline constexpr Color kAlertButtonTitleHighlighted = Color::rgb(40, 80, 150);
// The corners of an alert's panel, and of every panel shown above a screen like one.
inline constexpr double kPanelCornerRadius = 16;
// Text fields.
inline constexpr Color kFieldPlaceholder = Color::rgb(95, 102, 114);
inline constexpr Color kFieldEdge = Color::rgb(118, 127, 140);
inline constexpr Color kFocusRing = kAccent;
inline constexpr double kFocusRingWidth = 2;
// A light line round the focus ring of a control, so that the ring also shows on the dark bars.
inline constexpr Color kFocusRingHalo = Color::rgb(255, 255, 255);
inline constexpr Color kCaret = kAccent;
inline constexpr Color kSelection = Color::rgb(182, 205, 240);
// Switches: the track off and on, the knob.
inline constexpr Color kSwitchOff = Color::rgb(120, 128, 140);
inline constexpr Color kSwitchOn = kAccent;
inline constexpr Color kSwitchKnob = Color::rgb(255, 255, 255);
inline constexpr Color kSwitchKnobPressed = Color::rgb(225, 229, 236);
// Table rows.
inline constexpr Color kRow = Color::rgb(255, 255, 255);
inline constexpr Color kRowSelected = Color::rgb(214, 226, 245);
inline constexpr Color kRowSeparator = Color::rgb(224, 228, 234);

} // namespace vestrino::ui::style
