#include "app/statement/MonthBarView.h"
#include "core/Translation.h"

#include "app/chrome/AppStyle.h"
#include "app/settings/Preferences.h"
#include "entities/Importo.h"
#include "ui/Canvas.h"
#include "ui/Font.h"
#include "ui/ViewDescription.h"

#include <algorithm>

namespace vestrino {

namespace {
const ui::Font kMonthFont{"HelveticaNeue-Bold", 11};
const ui::Font kFigureFont{"Helvetica", 9};
constexpr double kTop = 6;
} // namespace

void MonthBarView::setTotals(const MonthTotals& totals, std::int64_t scaleCents, bool hideAmounts) {
    totals_ = totals;
    scaleCents_ = scaleCents;
    hideAmounts_ = hideAmounts;
    setTitle(totals.month.label(), ui::ControlState::Normal);
    setNeedsDisplay();
}

void MonthBarView::setChosen(bool on) {
    chosen_ = on;
    setSelected(on);
    setNeedsDisplay();
}

double MonthBarView::barArea() const {
    return std::max(0.0, bounds().height() - kCaptionHeight - kTop);
}

double MonthBarView::heightOf(std::int64_t cents) const {
    if (scaleCents_ <= 0 || cents <= 0) {
        return 0;
    }
    // Whole cents to the last step: the share is exact, only the points are rounded.
    return barArea() * static_cast<double>(cents) / static_cast<double>(scaleCents_);
}

std::string MonthBarView::figure(bool in) const {
    if (hideAmounts_) {
        return Preferences::kHiddenAmount;
    }
    // In the rows' look: what went out with its minus, what came in with its plus.
    return Importo::shown(in ? totals_.inCents : -totals_.outCents) + " €";
}

std::string MonthBarView::accessibleName() const {
    return totals_.month.label() + tr(": uscite ") + figure(false) + tr(", entrate ") +
           figure(true);
}

void MonthBarView::draw(ui::Canvas& canvas, const ui::Rect& rect) {
    // `rect` is where the view lies on the canvas: everything is drawn from its corner.
    const ui::Rect b = rect;
    if (chosen_ || highlighted()) {
        canvas.fillRoundedRect(b, 8, appstyle::kChartChosen);
    }
    const double base = b.minY() + kTop + barArea();
    const double outX = b.minX() + b.width() / 2 - kBarWidth - 2;
    const double inX = b.minX() + b.width() / 2 + 2;
    // The kinds from the bottom up; each piece starts where the last ended, so the pieces add
    // up to the whole bar without a seam.
    std::int64_t below = 0;
    for (std::size_t kind = 0; kind < MonthTotals::kKinds; ++kind) {
        const std::int64_t cents = totals_.outByKind[kind];
        if (cents <= 0) {
            continue;
        }
        const double from = base - heightOf(below);
        const double to = base - heightOf(below + cents);
        canvas.fillRect(ui::makeRect(outX, to, kBarWidth, from - to), appstyle::kChartKinds[kind]);
        below += cents;
    }
    const double in = inHeight();
    canvas.fillRect(ui::makeRect(inX, base - in, kBarWidth, in), appstyle::kChartIn);
    canvas.fillRect(ui::makeRect(b.minX() + 4, base, b.width() - 8, 1), appstyle::kChartAxis);
    auto centred = [&](const std::string& text, const ui::Font& font, const ui::Color& color,
                       double y) {
        const double w = ui::TextMeasurer::shared().measure(text, font).width;
        canvas.drawText(text, font, color, {b.minX() + (b.width() - w) / 2, y});
    };
    centred(totals_.month.label(), kMonthFont, appstyle::kCellTitle, base + 3);
    centred(figure(false), kFigureFont, appstyle::kDebit, base + 18);
    centred(figure(true), kFigureFont, appstyle::kCredit, base + 30);
}

void MonthBarView::describe(ui::ViewDescription& node) const {
    Button::describe(node);
    node.set("month", totals_.month.iso());
    node.set("outCents", static_cast<long long>(totals_.outCents));
    node.set("inCents", static_cast<long long>(totals_.inCents));
    node.set("outHeight", outHeight());
    node.set("inHeight", inHeight());
    node.set("barArea", barArea());
    node.set("chosen", chosen_);
}

} // namespace vestrino
