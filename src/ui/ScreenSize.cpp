#include "ui/ScreenSize.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace vestrino::ui {

Rect ScreenSize::layoutFrame() const {
    return makeRect(0, 0, kLayoutWidth, std::floor(height / zoom() + 1e-9));
}

namespace {
std::optional<double> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}
} // namespace

std::optional<ScreenSize> ScreenSize::parse(std::string_view text, std::string& error) {
    const auto x = text.find_first_of("xX");
    const auto w = x == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(0, x));
    const auto h = x == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(x + 1));
    if (!w || !h) {
        error = "\"" + std::string(text) + "\" is not a size in points, WIDTHxHEIGHT (360x720)";
        return std::nullopt;
    }
    const ScreenSize size{*w, *h};
    const double layoutHeight = size.layoutFrame().height();
    if (*w < kLayoutWidth || *w > 4 * kLayoutWidth || layoutHeight < kMinLayoutHeight ||
        layoutHeight > kMaxLayoutHeight) {
        std::ostringstream why;
        why << "\"" << text << "\": the screens need a width of 320 to 1280 points and, scaled "
            << "to 320 points wide, a height of " << kMinLayoutHeight << " to " << kMaxLayoutHeight
            << " points (this one gives " << layoutHeight << ")";
        error = why.str();
        return std::nullopt;
    }
    return size;
}

} // namespace vestrino::ui
