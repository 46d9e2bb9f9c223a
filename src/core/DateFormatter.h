#pragma once

#include "core/Date.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace vestrino {

// Reads and writes dates with a fixed pattern ("dd/MM/yyyy") in the device's current locale and
// time zone, strictly: a text is read only when the pattern matches it as a whole, and a date
// without a time of day is that day's local midnight. Not thread-safe; one per user.
class DateFormatter {
public:
    explicit DateFormatter(std::string pattern);
    ~DateFormatter();
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;

    std::optional<Date> dateFromString(std::string_view text);
    std::string stringFromDate(Date date);

    const std::string& pattern() const { return pattern_; }

private:
    icu::SimpleDateFormat& format();
    void remember(std::string_view text, std::optional<Date> date);

    std::string pattern_;
    std::unique_ptr<icu::SimpleDateFormat> format_;
    // Statements repeat the same few dates many times, mostly one after the other: remember
    // what was read, and the last text above all.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, std::optional<Date>, TextHash, std::equal_to<>> memo_;
    // Texts of up to 16 bytes (every date of a statement) are kept packed in two words: told
    // apart and hashed without a byte-by-byte pass.
    struct ShortText {
        std::uint64_t head = 0, tail = 0;
        std::size_t size = 0;
        bool operator==(const ShortText&) const = default;
    };
    struct ShortTextHash {
        std::size_t operator()(const ShortText& t) const {
            return static_cast<std::size_t>((t.head * 0x9E3779B97F4A7C15ULL) ^
                                            (t.tail * 0xC2B2AE3D27D4EB4FULL) ^ t.size);
        }
    };
    static std::optional<ShortText> shortText(std::string_view text);
    std::unordered_map<ShortText, std::optional<Date>, ShortTextHash> shortMemo_;
    std::optional<ShortText> lastShort_;
    std::string lastText_;
    std::optional<Date> lastDate_;
    bool hasLast_ = false;
};

} // namespace vestrino
