#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumacard {

// A decoded application/x-www-form-urlencoded body: pairs in the order sent.
class FormData {
public:
    explicit FormData(std::string_view body);

    // The first value of the name; nothing when the name was not sent.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

    static std::string decode(std::string_view text);

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
};

} // namespace lumacard
