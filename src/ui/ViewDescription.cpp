#include "ui/ViewDescription.h"

#include <algorithm>
#include <cmath>

namespace vestrino::ui {

void ViewDescription::put(std::string_view key, std::vector<Value> values, bool list) {
    const auto it = std::find_if(properties_.begin(), properties_.end(),
                                 [&](const Property& p) { return p.key == key; });
    if (it != properties_.end()) {
        it->values = std::move(values);
        it->list = list;
    } else {
        properties_.push_back({std::string(key), std::move(values), list});
    }
}

void ViewDescription::set(std::string_view key, Value value) {
    put(key, {std::move(value)}, false);
}

void ViewDescription::setList(std::string_view key, std::initializer_list<Value> values) {
    put(key, std::vector<Value>(values), true);
}

void ViewDescription::setRect(std::string_view key, const Rect& r) {
    setList(key, {r.minX(), r.minY(), r.width(), r.height()});
}

const ViewDescription::Property* ViewDescription::find(std::string_view key) const {
    const auto it = std::find_if(properties_.begin(), properties_.end(),
                                 [&](const Property& p) { return p.key == key; });
    return it == properties_.end() ? nullptr : &*it;
}

void ViewDescription::setColor(std::string_view key, const Color& c) {
    const auto byte = [](float v) {
        return static_cast<long long>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    setList(key, {byte(c.r), byte(c.g), byte(c.b), byte(c.a)});
}

void ViewDescription::setFont(std::string_view key, const Font& font) {
    setList(key, {font.name, font.size});
}

} // namespace vestrino::ui
