#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vestrino::test {

// Reads CSV as RFC 4180 says (quoted fields with doubled quotes, commas and line breaks inside
// quotes, CRLF or LF line ends), written for the tests on its own: not the program's writer
// read back by itself. False when the text is not well formed.
inline bool readCsv(std::string_view text, std::vector<std::vector<std::string>>& rows) {
    rows.clear();
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            if (!field.empty() || wasQuoted) {
                return false; // a quote inside an unquoted field
            }
            quoted = wasQuoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) {
                return false;
            }
            if (c == '\r') {
                ++i;
            }
            row.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
            rows.push_back(std::move(row));
            row.clear();
        } else {
            if (wasQuoted) {
                return false; // text after a closing quote
            }
            field += c;
        }
    }
    if (quoted) {
        return false;
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace vestrino::test
