#include "ui/TableView.h"
#include "ui/LayoutNode.h"
#include "ui/Style.h"

#include <algorithm>
#include <cmath>

namespace vestrino::ui {

TableViewCell::TableViewCell(std::string reuseIdentifier)
    : reuseIdentifier_(std::move(reuseIdentifier)), textLabel_(std::make_shared<Label>()) {
    setBackgroundColor(style::kRow);
    textLabel_->setFont({"Helvetica", 15});
    addSubview(textLabel_);
}

void TableViewCell::setSelected(bool on) {
    selected_ = on;
    setBackgroundColor(on ? style::kRowSelected : style::kRow);
}

void TableViewCell::prepareForReuse() {
    textLabel_->setText("");
    setSelected(false);
}

void TableViewCell::layoutSubviews() {
    textLabel_->setFrame(makeRect(12, 0, frame().width() - 24, frame().height()));
}

void TableViewCell::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    canvas.fillRect(makeRect(rect.minX() + 12, rect.maxY() - 1, rect.width() - 12, 1),
                    style::kRowSeparator);
}

std::string TableViewCell::accessibleName() const {
    return accessibilityLabel().empty() ? textLabel_->text() : accessibilityLabel();
}

bool TableViewCell::doAccessibleAction(std::string_view action) {
    if (action != "activate") {
        return false;
    }
    for (View* v = superview(); v; v = v->superview()) {
        if (auto* table = dynamic_cast<TableView*>(v)) {
            for (const auto& [row, cell] : table->visibleCells()) {
                if (cell.get() == this) {
                    table->choose(row);
                    return true;
                }
            }
            return false;
        }
    }
    return false;
}

AccessibleStates TableViewCell::accessibleStates() const {
    AccessibleStates s = View::accessibleStates();
    s.selected = selected_;
    return s;
}

void TableViewCell::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("text", textLabel_->text());
    node.set("selected", selected_);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
    const auto it = reusable_.find(identifier);
    if (it == reusable_.end()) {
        return nullptr;
    }
    auto cell = it->second;
    reusable_.erase(it);
    cell->prepareForReuse();
    dequeued_ = true;
    return cell;
}

void TableView::reloadData() {
    for (auto& [row, cell] : visible_) {
        cell->removeFromSuperview();
        reusable_.emplace(cell->reuseIdentifier(), cell);
    }
    visible_.clear();
    made_ = 0;
    rows_ = dataSource_ ? dataSource_->numberOfRows(*this) : 0;
    setContentSize({frame().width(), rows_ * rowHeight_});
    if (selected_ && *selected_ >= rows_) {
        selected_.reset();
    }
    // Fewer rows than before: the list moves up so that it does not show empty space.
    const double maxY = std::max(0.0, rows_ * rowHeight_ - frame().height());
    if (contentOffset().y > maxY) {
        setContentOffset({contentOffset().x, maxY});
    }
    layoutRows();
}

void TableView::layoutRows() {
    if (!dataSource_ || rowHeight_ <= 0) {
        return;
    }
    const double top = contentOffset().y;
    const int first = std::max(0, static_cast<int>(std::floor(top / rowHeight_)));
    const int last =
        std::min(rows_ - 1, static_cast<int>(std::floor((top + frame().height()) / rowHeight_)));
    // Rows that left the screen give their cells back first, so they can be reused at once.
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (it->first < first || it->first > last) {
            it->second->removeFromSuperview();
            reusable_.emplace(it->second->reuseIdentifier(), it->second);
            it = visible_.erase(it);
        } else {
            ++it;
        }
    }
    for (int row = first; row <= last; ++row) {
        if (visible_.count(row)) {
            continue;
        }
        dequeued_ = false;
        auto cell = dataSource_->cellForRow(*this, row);
        if (!cell) {
            continue;
        }
        if (!dequeued_) {
            ++made_;
        }
        cell->setFrame(makeRect(0, row * rowHeight_, frame().width(), rowHeight_));
        cell->setSelected(selected_ == row);
        addSubview(cell);
        visible_[row] = cell;
    }
}

void TableView::contentOffsetChanged() {
    layoutRows();
}

void TableView::layoutSubviews() {
    layoutRows();
}

void TableView::selectRow(std::optional<int> row) {
    selected_ = row;
    for (auto& [r, cell] : visible_) {
        cell->setSelected(row == r);
    }
}

void TableView::choose(int row) {
    selectRow(row);
    if (tableDelegate_) {
        tableDelegate_->didSelectRow(*this, row);
    }
}

void TableView::didTap(Point point) {
    const int row = static_cast<int>(std::floor(point.y / rowHeight_));
    if (row < 0 || row >= rows_) {
        return;
    }
    choose(row);
}

bool TableView::keyDown(KeyCommand key) {
    switch (key) {
    case KeyCommand::Up:
    case KeyCommand::Down: {
        if (rows_ == 0) {
            return false;
        }
        const int firstInSight =
            std::clamp(static_cast<int>(std::ceil(contentOffset().y / rowHeight_)), 0, rows_ - 1);
        const int row = selected_ ? *selected_ + (key == KeyCommand::Up ? -1 : 1) : firstInSight;
        if (row < 0 || row >= rows_) {
            return false;
        }
        selectRow(row);
        scrollRectToVisible(makeRect(0, row * rowHeight_, frame().width(), rowHeight_));
        return true;
    }
    case KeyCommand::Return:
    case KeyCommand::Space:
        if (!selected_) {
            return false;
        }
        choose(*selected_);
        return true;
    default:
        return ScrollView::keyDown(key);
    }
}

void TableView::applyLayout(const LayoutNode& node) {
    if (node.has("rowHeight"))
        setRowHeight(node.number("rowHeight"));
    ScrollView::applyLayout(node);
}

} // namespace vestrino::ui
