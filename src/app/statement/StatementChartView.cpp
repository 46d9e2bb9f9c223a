#include "app/statement/StatementChartView.h"
#include "core/Translation.h"

#include "app/chrome/AppStyle.h"
#include "ui/Canvas.h"

#include <algorithm>
#include <array>

namespace vestrino {

namespace {

// The legend's entries: the kinds in the order of the filter toggles, anything else, and what
// came in.
constexpr std::array<const char*, MonthTotals::kKinds + 1> kLegend = {N_("Prelievi"),
                                                                      N_("Ricariche carta"),
                                                                      N_("Ricariche Lumacard"),
                                                                      N_("Ricariche telefono"),
                                                                      N_("Pagamenti"),
                                                                      N_("Altro"),
                                                                      N_("Entrate")};
constexpr double kLegendRow = 15;
constexpr double kLegendColumn = 154;
constexpr double kSwatch = 10;
constexpr double kMargin = 12;

ui::Color legendColour(std::size_t entry) {
    return entry < MonthTotals::kKinds ? appstyle::kChartKinds[entry] : appstyle::kChartIn;
}

ui::Rect legendSwatch(std::size_t entry) {
    return ui::makeRect(kMargin + static_cast<double>(entry % 2) * kLegendColumn,
                        6 + static_cast<double>(entry / 2) * kLegendRow + 2, kSwatch, kSwatch);
}

} // namespace

StatementChartView::StatementChartView(const ui::Rect& frame) : View(frame) {
    setBackgroundColor(appstyle::kSurface);
    for (std::size_t i = 0; i < kLegend.size(); ++i) {
        const ui::Rect swatch = legendSwatch(i);
        auto label = std::make_shared<ui::Label>(
            ui::makeRect(swatch.maxX() + 4, swatch.minY() - 2, kLegendColumn - kSwatch - 8, 14));
        label->setText(tr(kLegend[i]));
        label->setFont({"Helvetica", 11});
        label->setTextColor(appstyle::kCellDetail);
        addSubview(label);
        legend_.push_back(label);
    }
    strip_ = std::make_shared<ui::ScrollView>();
    strip_->setAccessibilityLabel(tr("Mesi"));
    addSubview(strip_);
    empty_ = std::make_shared<ui::Label>();
    empty_->setText(tr("Nessun movimento da mostrare"));
    empty_->setFont({"Helvetica", 14});
    empty_->setTextColor(appstyle::kCellDetail);
    empty_->setTextAlignment(ui::TextAlignment::Center);
    addSubview(empty_);
    layoutSubviews();
}

void StatementChartView::setMonths(const std::vector<MonthTotals>& months,
                                   const std::optional<MonthKey>& chosen, bool hideAmounts) {
    std::int64_t scale = 0;
    for (const auto& m : months) {
        scale = std::max({scale, m.outCents, m.inCents});
    }
    // The bars are made again only when the months change in number; a bar is a few fields.
    while (bars_.size() > months.size()) {
        bars_.back()->removeFromSuperview();
        bars_.pop_back();
    }
    while (bars_.size() < months.size()) {
        auto bar = std::make_shared<MonthBarView>();
        bar->setRevealAbove(kLegendHeight);
        bar->addTarget([this](ui::Button& b) {
            if (monthChosen_) {
                monthChosen_(static_cast<MonthBarView&>(b).totals().month);
            }
        });
        strip_->addSubview(bar);
        bars_.push_back(bar);
    }
    for (std::size_t i = 0; i < months.size(); ++i) {
        bars_[i]->setTotals(months[i], scale, hideAmounts);
        bars_[i]->setChosen(chosen && months[i].month == *chosen);
    }
    empty_->setHidden(!months.empty());
    placeBars();
}

void StatementChartView::layoutSubviews() {
    const ui::Rect b = bounds();
    strip_->setFrame(ui::makeRect(0, kLegendHeight, b.width(), b.height() - kLegendHeight));
    empty_->setFrame(ui::makeRect(kMargin, kLegendHeight + 40, b.width() - 2 * kMargin, 20));
    placeBars();
}

void StatementChartView::placeBars() {
    const double h = strip_->bounds().height();
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        bars_[i]->setFrame(ui::makeRect(4 + static_cast<double>(i) * MonthBarView::kWidth, 0,
                                        MonthBarView::kWidth, h));
    }
    const double width = 8 + static_cast<double>(bars_.size()) * MonthBarView::kWidth;
    strip_->setContentSize({width, h});
    // The newest month is in sight when the chart first shows; fewer months later (a toggle,
    // a search) never leave the strip scrolled past its end.
    const double end = std::max(0.0, width - strip_->bounds().width());
    if (!scrolledToEnd_ && !bars_.empty() && strip_->bounds().width() > 0) {
        strip_->setContentOffset({end, 0});
        scrolledToEnd_ = true;
    } else if (strip_->contentOffset().x > end) {
        strip_->setContentOffset({end, 0});
    }
}

void StatementChartView::draw(ui::Canvas& canvas, const ui::Rect& rect) {
    View::draw(canvas, rect);
    for (std::size_t i = 0; i < kLegend.size(); ++i) {
        const ui::Rect swatch = legendSwatch(i);
        canvas.fillRect(ui::makeRect(rect.minX() + swatch.minX(), rect.minY() + swatch.minY(),
                                     swatch.width(), swatch.height()),
                        legendColour(i));
    }
}

} // namespace vestrino
