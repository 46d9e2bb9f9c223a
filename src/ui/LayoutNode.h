#pragma once

#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/UIImage.h"

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace vestrino::ui {

class Button;

// A wrong layout: where (the JSON path of the key, "$.children[2].font") and what.
struct LayoutError {
    std::string path;
    std::string what;
};

// One view's object in a layout, as the view reads it (View::applyLayout and its overrides):
// each class reads the keys it knows, through typed reads whose errors name the key's path.
class LayoutNode {
public:
    using Action = std::function<void(Button&)>;
    using Actions = std::map<std::string, Action>;

    LayoutNode(const nlohmann::json& json, std::string path, const Actions& actions)
        : json_(json), path_(std::move(path)), actions_(actions) {}

    const std::string& path() const { return path_; }
    bool has(const char* key) const { return json_.contains(key); }

    std::string text(const char* key) const;
    // A text a person reads (a label's text, a title, a placeholder, a name for assistive
    // technology): in the language in force.
    std::string words(const char* key) const;
    double number(const char* key) const;
    int integer(const char* key) const;
    bool boolean(const char* key) const;
    Color color(const char* key) const;
    Font font(const char* key) const;        // ["name", size]
    UIImagePtr image(const char* key) const; // a picture of the resources by name
    Rect rect(const char* key) const;        // [x, y, width, height]
    Size size(const char* key) const;        // [width, height]
    std::vector<std::string> texts(const char* key) const;
    const Action& action(const char* key) const; // a screen's action by name
    // One of the names in `choices`, as its value.
    template <typename T> T choice(const char* key, const std::map<std::string, T>& choices) const {
        const std::string name = text(key);
        const auto it = choices.find(name);
        if (it == choices.end()) {
            std::string known;
            for (const auto& [n, v] : choices) {
                known += (known.empty() ? "" : ", ") + n;
            }
            fail(key, "expected one of " + known);
        }
        return it->second;
    }

    [[noreturn]] void fail(const char* key, const std::string& what) const;

private:
    const nlohmann::json& value(const char* key) const;

    const nlohmann::json& json_;
    std::string path_;
    const Actions& actions_;
};

} // namespace vestrino::ui
