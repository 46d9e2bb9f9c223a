#include "core/StringTrim.h"

namespace vestrino {

namespace {
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::string_view kBlanks = " \t\n\r\f\v";
} // namespace

std::string trimNBSP(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (auto at = text.find(kNoBreakSpace); at != std::string_view::npos;
         at = text.find(kNoBreakSpace, from)) {
        out.append(text.substr(from, at - from));
        from = at + kNoBreakSpace.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string ltrim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string rtrim(std::string_view text) {
    const auto last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

} // namespace vestrino
