#pragma once

#include "ui/Font.h"
#include "ui/Geometry.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vestrino::ui {

// What a view tells of itself for a snapshot of the view tree: its properties in the order it
// sets them, each one plain value (nothing, a truth value, a whole number, a number, a text) or
// a list of them, and the descriptions of its subviews. Views fill it; the headless layer turns
// it into the snapshot's file, so the view layer knows no file format.
class ViewDescription {
public:
    using Value = std::variant<std::nullptr_t, bool, long long, double, std::string>;
    struct Property {
        std::string key;
        std::vector<Value> values;
        bool list = false; // a list of values rather than one
    };

    // Sets a property; one set again keeps its place and takes the new value.
    void set(std::string_view key, Value value);
    void setList(std::string_view key, std::initializer_list<Value> values);
    // A rectangle as x, y, width, height.
    void setRect(std::string_view key, const Rect& r);
    // A colour as red, green, blue and alpha from 0 to 255.
    void setColor(std::string_view key, const Color& c);
    // A font as its name and size.
    void setFont(std::string_view key, const Font& font);

    const std::vector<Property>& properties() const { return properties_; }
    // The property named `key`, or nothing.
    const Property* find(std::string_view key) const;

    std::vector<ViewDescription> children;

private:
    void put(std::string_view key, std::vector<Value> values, bool list);

    std::vector<Property> properties_;
};

} // namespace vestrino::ui
