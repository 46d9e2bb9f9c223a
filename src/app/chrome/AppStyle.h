#pragma once

#include "ui/Style.h"

// The screens' own colours drawn from code (the layouts name the rest by role), in one place so
// that their contrast is checked with the layouts'.
namespace vestrino::appstyle {

using ui::ColorRole;
using ui::palette::role;

// The screens' background (the layouts' "@background"), which the launch screen shows too.
inline constexpr ui::Color kPageBackground = role(ColorRole::Background);
// Panels and rows drawn by code (the chart, the fields of the dialogs).
inline constexpr ui::Color kSurface = role(ColorRole::Surface);

// Statement rows: a credit in green, a debit (and a hidden amount) in the text's colour.
inline constexpr ui::Color kCredit = role(ColorRole::Credit);
inline constexpr ui::Color kDebit = role(ColorRole::Text);
// The buttons' titles: white on a filled pill, the accent on an outlined one.
inline constexpr ui::Color kFilledPillTitle = role(ColorRole::OnAccent);
inline constexpr ui::Color kOutlinedPillTitle = ui::style::kAccent;
// A cash machine's row: office, place, distance.
inline constexpr ui::Color kCellTitle = role(ColorRole::Text);
inline constexpr ui::Color kCellDetail = role(ColorRole::SecondaryText);
inline constexpr ui::Color kCellDistance = ui::style::kAccent;
// The statement's chart: what went out by kind (withdrawals, card top-ups, Lumacard top-ups,
// phone top-ups, payments, anything else) and what came in, on the surface; the month chosen
// on a pale accent.
inline constexpr ui::Color kChartKinds[] = {
    role(ColorRole::ChartKind1), role(ColorRole::ChartKind2), role(ColorRole::ChartKind3),
    role(ColorRole::ChartKind4), role(ColorRole::ChartKind5), role(ColorRole::ChartKind6)};
inline constexpr ui::Color kChartIn = kCredit;
inline constexpr ui::Color kChartChosen = role(ColorRole::ChartChosen);
inline constexpr ui::Color kChartAxis = role(ColorRole::ChartAxis);
// The spinner of the activity alerts.
inline constexpr ui::Color kSpinner = role(ColorRole::Spinner);

} // namespace vestrino::appstyle
