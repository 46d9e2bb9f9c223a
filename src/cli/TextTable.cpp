#include "cli/TextTable.h"

#include "core/Utf8.h"

#include <algorithm>

namespace vestrino {

TextTable::TextTable(std::vector<std::string> headers)
    : headers_(std::move(headers)), right_(headers_.size(), false) {}

void TextTable::addRow(std::vector<std::string> cells) {
    cells.resize(headers_.size());
    rows_.push_back(std::move(cells));
}

void TextTable::alignRight(std::size_t column) {
    if (column < right_.size()) {
        right_[column] = true;
    }
}

void TextTable::print(std::ostream& out) const {
    std::vector<std::size_t> widths(headers_.size(), 0);
    auto measure = [&](const std::vector<std::string>& row) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], codePointCount(row[i]));
        }
    };
    measure(headers_);
    std::for_each(rows_.begin(), rows_.end(), measure);

    auto printRow = [&](const std::vector<std::string>& row) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string pad(widths[i] - codePointCount(row[i]), ' ');
            if (i > 0) {
                line += "  ";
            }
            const bool last = i + 1 == row.size();
            line += right_[i] ? pad + row[i] : (last ? row[i] : row[i] + pad);
        }
        out << line << '\n';
    };
    printRow(headers_);
    std::vector<std::string> rule;
    for (const auto w : widths) {
        rule.emplace_back(w, '-');
    }
    printRow(rule);
    std::for_each(rows_.begin(), rows_.end(), printRow);
}

} // namespace vestrino
