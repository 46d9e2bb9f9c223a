#include "core/DateFormatter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

namespace vestrino {

namespace {
constexpr std::size_t kMemoLimit = 4096;
}

DateFormatter::DateFormatter(std::string pattern) : pattern_(std::move(pattern)) {}

DateFormatter::~DateFormatter() = default;

icu::SimpleDateFormat& DateFormatter::format() {
    if (!format_) {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern_),
                                                            icu::Locale::getDefault(), status);
        if (U_FAILURE(status)) {
            throw std::runtime_error("date pattern \"" + pattern_ +
                                     "\" refused by ICU: " + u_errorName(status));
        }
        made->setLenient(false);
        format_ = std::move(made);
    }
    return *format_;
}

std::optional<DateFormatter::ShortText> DateFormatter::shortText(std::string_view text) {
    if (text.size() > 16) {
        return std::nullopt;
    }
    ShortText t;
    t.size = text.size();
    std::memcpy(&t.head, text.data(), std::min<std::size_t>(text.size(), 8));
    if (text.size() > 8) {
        std::memcpy(&t.tail, text.data() + 8, text.size() - 8);
    }
    return t;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) {
    const auto packed = shortText(text);
    if (packed) {
        if (hasLast_ && lastShort_ == packed) {
            return lastDate_;
        }
        if (const auto hit = shortMemo_.find(*packed); hit != shortMemo_.end()) {
            remember(text, hit->second);
            return hit->second;
        }
    } else {
        if (hasLast_ && text == lastText_) {
            return lastDate_;
        }
        if (const auto hit = memo_.find(text); hit != memo_.end()) {
            remember(text, hit->second);
            return hit->second;
        }
    }
    const auto u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::ParsePosition position(0);
    const UDate millis = format().parse(u, position);
    std::optional<Date> result;
    if (position.getErrorIndex() < 0 && position.getIndex() == u.length() && u.length() > 0) {
        result = Date(std::chrono::milliseconds(static_cast<long long>(millis)));
    }
    if (packed) {
        if (shortMemo_.size() >= kMemoLimit) {
            shortMemo_.clear();
        }
        shortMemo_.emplace(*packed, result);
    } else {
        if (memo_.size() >= kMemoLimit) {
            memo_.clear();
        }
        memo_.emplace(std::string(text), result);
    }
    remember(text, result);
    return result;
}

void DateFormatter::remember(std::string_view text, std::optional<Date> date) {
    lastShort_ = shortText(text);
    if (!lastShort_) {
        lastText_.assign(text);
    }
    lastDate_ = date;
    hasLast_ = true;
}

std::string DateFormatter::stringFromDate(Date date) {
    icu::UnicodeString u;
    format().format(static_cast<UDate>(date.time_since_epoch().count()), u);
    std::string out;
    u.toUTF8String(out);
    return out;
}

} // namespace vestrino
