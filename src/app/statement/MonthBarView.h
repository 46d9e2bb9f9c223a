#pragma once

#include "entities/MonthTotals.h"
#include "ui/Button.h"

#include <cstdint>

namespace vestrino {

// One month of the statement's chart, a button: what went out, the kinds stacked in one bar
// (in the order of the filter toggles, anything else on top), beside what came in; under them
// the month ("nov 2026") and the two figures. Bar heights are the month's exact totals over
// the chart's largest, in whole cents; while amounts are hidden the bars keep their shape and
// each figure reads the hidden amount. A touch that ends on it, Space or Return choose it.
class MonthBarView : public ui::Button {
public:
    static constexpr double kWidth = 68;
    // What is under the bars: the month and two figures.
    static constexpr double kCaptionHeight = 44;
    static constexpr double kBarWidth = 20;

    using ui::Button::Button;

    // The month, the total that fills the whole height, and whether amounts are hidden.
    void setTotals(const MonthTotals& totals, std::int64_t scaleCents, bool hideAmounts);
    const MonthTotals& totals() const { return totals_; }
    // The chosen month is drawn on a pale ground.
    void setChosen(bool on);

    // Heights in points of the outgoing bar, of one of its kinds, and of the incoming bar.
    double outHeight() const { return heightOf(totals_.outCents); }
    double kindHeight(std::size_t kind) const { return heightOf(totals_.outByKind[kind]); }
    double inHeight() const { return heightOf(totals_.inCents); }

    void draw(ui::Canvas& canvas, const ui::Rect& rect) override;
    std::string className() const override { return "MonthBarView"; }
    // A bar taking the focus brings this much above it into sight too (the chart's legend, which
    // says what its colours are).
    void setRevealAbove(double points) { revealAbove_ = points; }
    ui::Rect focusRevealRect() const override {
        const ui::Rect b = bounds();
        return ui::makeRect(b.minX(), b.minY() - revealAbove_, b.width(),
                            b.height() + revealAbove_);
    }
    std::string accessibleName() const override;
    void describe(ui::ViewDescription& node) const override;

private:
    double revealAbove_ = 0;
    double barArea() const;
    double heightOf(std::int64_t cents) const;
    // What went out, or came in, as the month's caption writes it.
    std::string figure(bool in) const;

    MonthTotals totals_;
    std::int64_t scaleCents_ = 0;
    bool hideAmounts_ = false;
    bool chosen_ = false;
};

} // namespace vestrino
