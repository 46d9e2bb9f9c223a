#include "ui/LayoutNode.h"

#include "core/Translation.h"

#include "ui/LayoutLoader.h"

#include <algorithm>

namespace vestrino::ui {

using Json = nlohmann::json;

void LayoutNode::fail(const char* key, const std::string& what) const {
    throw LayoutError{path_ + "." + key, what};
}

const Json& LayoutNode::value(const char* key) const {
    if (!json_.contains(key)) {
        fail(key, "missing");
    }
    return json_.at(key);
}

std::string LayoutNode::text(const char* key) const {
    const Json& v = value(key);
    if (!v.is_string()) {
        fail(key, "expected a string");
    }
    return v.get<std::string>();
}

std::string LayoutNode::words(const char* key) const {
    return trs(text(key));
}

double LayoutNode::number(const char* key) const {
    const Json& v = value(key);
    if (!v.is_number()) {
        fail(key, "expected a number");
    }
    return v.get<double>();
}

int LayoutNode::integer(const char* key) const {
    const Json& v = value(key);
    if (!v.is_number_integer()) {
        fail(key, "expected a whole number");
    }
    return v.get<int>();
}

bool LayoutNode::boolean(const char* key) const {
    const Json& v = value(key);
    if (!v.is_boolean()) {
        fail(key, "expected true or false");
    }
    return v.get<bool>();
}

Color LayoutNode::color(const char* key) const {
    const Json& v = value(key);
    const auto c = v.is_string() ? LayoutLoader::parseColor(v.get<std::string>()) : std::nullopt;
    if (!c) {
        fail(key, "expected a colour such as \"#0b3d91\" or a role such as \"@accent\"");
    }
    return *c;
}

Font LayoutNode::font(const char* key) const {
    const Json& f = value(key);
    if (!f.is_array() || f.size() != 2 || !f[0].is_string() || !f[1].is_number()) {
        fail(key, "expected [\"name\", size]");
    }
    return {f[0].get<std::string>(), f[1].get<double>()};
}

UIImagePtr LayoutNode::image(const char* key) const {
    const std::string name = text(key);
    auto img = UIImage::imageNamed(name);
    if (!img) {
        fail(key, "no image resource \"" + name + "\"");
    }
    return img;
}

Rect LayoutNode::rect(const char* key) const {
    const Json& v = value(key);
    if (!v.is_array() || v.size() != 4 ||
        !std::all_of(v.begin(), v.end(), [](const Json& n) { return n.is_number(); })) {
        fail(key, "expected [x, y, width, height]");
    }
    return makeRect(v[0], v[1], v[2], v[3]);
}

Size LayoutNode::size(const char* key) const {
    const Json& v = value(key);
    if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number()) {
        fail(key, "expected [width, height]");
    }
    return {v[0].get<double>(), v[1].get<double>()};
}

std::vector<std::string> LayoutNode::texts(const char* key) const {
    const Json& v = value(key);
    if (!v.is_array() ||
        !std::all_of(v.begin(), v.end(), [](const Json& n) { return n.is_string(); })) {
        fail(key, "expected a list of strings");
    }
    return v.get<std::vector<std::string>>();
}

const LayoutNode::Action& LayoutNode::action(const char* key) const {
    const std::string name = text(key);
    const auto it = actions_.find(name);
    if (it == actions_.end()) {
        fail(key, "the screen has no action \"" + name + "\"");
    }
    return it->second;
}

} // namespace vestrino::ui
