#pragma once

#include "app/statement/MonthBarView.h"
#include "entities/MonthTotals.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vestrino {

// The statement at a glance: a legend of the kinds and of what came in, then one bar pair per
// month (MonthBarView), oldest on the left, all on one scale, in a strip that scrolls
// sideways and starts at the newest month. Choosing a month's bar tells the owner.
class StatementChartView : public ui::View {
public:
    using MonthChosen = std::function<void(const MonthKey&)>;
    static constexpr double kLegendHeight = 64;

    explicit StatementChartView(const ui::Rect& frame = {});

    // The months to show (oldest first), the chosen one, and whether amounts are hidden.
    void setMonths(const std::vector<MonthTotals>& months, const std::optional<MonthKey>& chosen,
                   bool hideAmounts);
    void setMonthChosen(MonthChosen chosen) { monthChosen_ = std::move(chosen); }
    const std::vector<std::shared_ptr<MonthBarView>>& bars() const { return bars_; }

    void layoutSubviews() override;
    void draw(ui::Canvas& canvas, const ui::Rect& rect) override;
    std::string className() const override { return "StatementChartView"; }

private:
    void placeBars();

    std::vector<std::shared_ptr<ui::Label>> legend_;
    std::shared_ptr<ui::ScrollView> strip_;
    std::shared_ptr<ui::Label> empty_;
    std::vector<std::shared_ptr<MonthBarView>> bars_;
    MonthChosen monthChosen_;
    bool scrolledToEnd_ = false;
};

} // namespace vestrino
