#pragma once

#include "ui/Style.h"

// The screens' own colours drawn from code (the layouts hold the rest), in one place so that
// their contrast is checked with the layouts'.
namespace vestrino::appstyle {

// Statement rows: a credit in green, a debit (and a hidden amount) in near black, on white.
inline constexpr ui::Color kCredit = ui::Color::rgb(22, 105, 47);
inline constexpr ui::Color kDebit = ui::Color::rgb(31, 41, 55);
// The buttons' titles: white on a filled pill, the accent on an outlined one.
inline constexpr ui::Color kFilledPillTitle = ui::Color::rgb(255, 255, 255);
inline constexpr ui::Color kOutlinedPillTitle = ui::style::kAccent;
// A cash machine's row: office, place, distance.
inline constexpr ui::Color kCellTitle = ui::Color::rgb(31, 41, 55);
inline constexpr ui::Color kCellDetail = ui::Color::rgb(60, 70, 90);
inline constexpr ui::Color kCellDistance = ui::style::kAccent;
// The spinner of the activity alerts.
inline constexpr ui::Color kSpinner = ui::style::kAccent;

} // namespace vestrino::appstyle
