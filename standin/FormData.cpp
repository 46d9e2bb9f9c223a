#include "FormData.h"

namespace lumacard {

namespace {
int hex(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}
} // namespace

std::string FormData::decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
                   hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

FormData::FormData(std::string_view body) {
    while (!body.empty()) {
        const auto amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (pair.empty()) {
            continue;
        }
        const auto eq = pair.find('=');
        pairs_.emplace_back(decode(pair.substr(0, eq)), eq == std::string_view::npos
                                                            ? std::string()
                                                            : decode(pair.substr(eq + 1)));
    }
}

std::optional<std::string> FormData::value(std::string_view name) const {
    for (const auto& [n, v] : pairs_) {
        if (n == name) {
            return v;
        }
    }
    return std::nullopt;
}

} // namespace lumacard
