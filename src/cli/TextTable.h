#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vestrino {

// A plain-text table for the terminal: columns padded to their widest cell, counted in code
// points so that accented text lines up.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> headers);

    void addRow(std::vector<std::string> cells);
    // Right-aligns the given column (amounts).
    void alignRight(std::size_t column);
    void print(std::ostream& out) const;

private:
    std::vector<std::string> headers_;
    std::vector<std::vector<std::string>> rows_;
    std::vector<bool> right_;
};

} // namespace vestrino
