#pragma once

#include "ui/Label.h"
#include "ui/ScrollView.h"

#include <map>
#include <string>
#include <vector>

namespace vestrino::ui {

class TableView;

// One row of a table, reused for other rows when it scrolls out of sight.
class TableViewCell : public View {
public:
    explicit TableViewCell(std::string reuseIdentifier);
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    Label& textLabel() { return *textLabel_; }
    bool selected() const { return selected_; }
    void setSelected(bool on);
    // Called before the cell is handed out again: back to a new cell's look.
    virtual void prepareForReuse();

    void layoutSubviews() override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "TableViewCell"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::ListItem; }
    std::string accessibleName() const override;
    AccessibleStates accessibleStates() const override;
    std::vector<std::string> accessibleActions() const override { return {"activate"}; }
    // Activating a row chooses it, as a tap on it does.
    bool doAccessibleAction(std::string_view action) override;
    void describe(ViewDescription& node) const override;

private:
    std::string reuseIdentifier_;
    std::shared_ptr<Label> textLabel_;
    bool selected_ = false;
};

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfRows(TableView& table) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRow(TableView& table, int row) = 0;
};

class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    virtual void didSelectRow(TableView&, int /*row*/) {}
};

// A one-section list of rows of equal height. Only the rows in sight have cells; a cell that
// leaves is kept for reuse by its identifier. A tapped row stays selected. With the focus, Up
// and Down select the row above or below (brought into sight), Return or Space choose it as a
// tap does, Page Up, Page Down, Home and End scroll.
class TableView : public ScrollView {
public:
    using ScrollView::ScrollView;

    void setDataSource(TableViewDataSource* source) { dataSource_ = source; }
    void setTableDelegate(TableViewDelegate* delegate) { tableDelegate_ = delegate; }
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double h) { rowHeight_ = h; }

    void reloadData();
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);
    std::optional<int> selectedRow() const { return selected_; }
    void selectRow(std::optional<int> row);
    // The cells on screen now, by row.
    const std::map<int, std::shared_ptr<TableViewCell>>& visibleCells() const { return visible_; }
    // How many cells the data source has made (not reused) since the last reload.
    std::size_t cellsMade() const { return made_; }

    std::string className() const override { return "TableView"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::List; }
    void applyLayout(const LayoutNode& node) override;
    bool keyDown(KeyCommand key) override;
    // Selects a row and tells the delegate it was chosen, as a tap on it does.
    void choose(int row);

protected:
    bool focusableByDefault() const override { return true; }
    void didTap(Point point) override;
    void contentOffsetChanged() override;
    void layoutSubviews() override;

private:
    void layoutRows();

    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* tableDelegate_ = nullptr;
    double rowHeight_ = 44;
    int rows_ = 0;
    std::optional<int> selected_;
    std::map<int, std::shared_ptr<TableViewCell>> visible_;
    std::multimap<std::string, std::shared_ptr<TableViewCell>> reusable_;
    std::size_t made_ = 0;
    bool dequeued_ = false;
};

} // namespace vestrino::ui
