#pragma once

#include "ui/Style.h"

// The screens' own colours drawn from code (the layouts hold the rest), in one place so that
// their contrast is checked with the layouts'.
namespace vestrino::appstyle {

// The screens' background (the layouts' "#f2f4f7"), which the launch screen shows too.
inline constexpr ui::Color kPageBackground = ui::Color::rgb(242, 244, 247);

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
// The statement's chart: what went out by kind (withdrawals, card top-ups, Lumacard top-ups,
// phone top-ups, payments, anything else) and what came in, on white; the month chosen on a
// pale accent.
inline constexpr ui::Color kChartKinds[] = {
    ui::style::kAccent,          ui::Color::rgb(0, 120, 150), ui::Color::rgb(122, 73, 165),
    ui::Color::rgb(176, 104, 0), ui::Color::rgb(190, 52, 40), ui::Color::rgb(107, 114, 128)};
inline constexpr ui::Color kChartIn = kCredit;
inline constexpr ui::Color kChartChosen = ui::Color::rgb(226, 234, 247);
inline constexpr ui::Color kChartAxis = ui::Color::rgb(107, 114, 128);
// The spinner of the activity alerts.
inline constexpr ui::Color kSpinner = ui::style::kAccent;

} // namespace vestrino::appstyle
