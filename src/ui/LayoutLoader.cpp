#include "ui/LayoutLoader.h"

#include "ui/ActivityIndicatorView.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/TableView.h"
#include "ui/TextField.h"

#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>

namespace vestrino::ui {

namespace {

using Json = nlohmann::json;

std::mutex& folderMutex() {
    static std::mutex m;
    return m;
}
std::filesystem::path& folder() {
    static std::filesystem::path f = "resources/layouts";
    return f;
}

std::map<std::string, LayoutLoader::Factory>& factories() {
    static std::map<std::string, LayoutLoader::Factory> f;
    return f;
}

// A layout error: where (the JSON path of the key) and what.
struct LayoutError {
    std::string path;
    std::string what;
};

class Builder {
public:
    Builder(LayoutLoader::Outlets& outlets, const LayoutLoader::Actions& actions)
        : outlets_(outlets), actions_(actions) {}

    std::shared_ptr<View> build(const Json& node, const std::string& path);

private:
    static Rect rect(const Json& v, const std::string& path) {
        if (!v.is_array() || v.size() != 4 ||
            !std::all_of(v.begin(), v.end(), [](const Json& n) { return n.is_number(); })) {
            throw LayoutError{path, "expected [x, y, width, height]"};
        }
        return makeRect(v[0], v[1], v[2], v[3]);
    }
    static std::string text(const Json& node, const char* key, const std::string& path) {
        const Json& v = node.at(key);
        if (!v.is_string()) {
            throw LayoutError{path + "." + key, "expected a string"};
        }
        return v.get<std::string>();
    }
    static Color color(const Json& node, const char* key, const std::string& path) {
        const auto c =
            v(node, key).is_string() ? LayoutLoader::parseColor(node[key]) : std::nullopt;
        if (!c) {
            throw LayoutError{path + "." + key, "expected a colour such as \"#0b3d91\""};
        }
        return *c;
    }
    static const Json& v(const Json& node, const char* key) { return node.at(key); }
    static Font font(const Json& node, const std::string& path) {
        const Json& f = node.at("font");
        if (!f.is_array() || f.size() != 2 || !f[0].is_string() || !f[1].is_number()) {
            throw LayoutError{path + ".font", "expected [\"name\", size]"};
        }
        return {f[0].get<std::string>(), f[1].get<double>()};
    }
    static std::shared_ptr<UIImage> image(const Json& node, const char* key,
                                          const std::string& path) {
        auto img = UIImage::imageNamed(text(node, key, path));
        if (!img) {
            throw LayoutError{path + "." + key,
                              "no image resource \"" + node[key].get<std::string>() + "\""};
        }
        return img;
    }

    static void imageViewProperties(ImageView& view, const Json& node, const std::string& path) {
        if (node.contains("image"))
            view.setImage(image(node, "image", path));
        if (node.contains("highlightedImage"))
            view.setHighlightedImage(image(node, "highlightedImage", path));
    }

    LayoutLoader::Outlets& outlets_;
    const LayoutLoader::Actions& actions_;
};

std::shared_ptr<View> Builder::build(const Json& node, const std::string& path) {
    if (!node.is_object()) {
        throw LayoutError{path, "expected an object"};
    }
    if (!node.contains("class")) {
        throw LayoutError{path + ".class", "missing"};
    }
    const std::string cls = text(node, "class", path);
    std::shared_ptr<View> view;
    if (cls == "View") {
        view = std::make_shared<View>();
    } else if (cls == "Label") {
        auto l = std::make_shared<Label>();
        if (node.contains("text"))
            l->setText(text(node, "text", path));
        if (node.contains("font"))
            l->setFont(font(node, path));
        if (node.contains("textColor"))
            l->setTextColor(color(node, "textColor", path));
        if (node.contains("alignment")) {
            const std::string a = text(node, "alignment", path);
            if (a != "left" && a != "center" && a != "right") {
                throw LayoutError{path + ".alignment", "expected left, center or right"};
            }
            l->setTextAlignment(a == "center"  ? TextAlignment::Center
                                : a == "right" ? TextAlignment::Right
                                               : TextAlignment::Left);
        }
        view = l;
    } else if (cls == "ImageView") {
        auto i = std::make_shared<ImageView>();
        imageViewProperties(*i, node, path);
        view = i;
    } else if (cls == "Button") {
        auto b = std::make_shared<Button>();
        if (node.contains("title"))
            b->setTitle(text(node, "title", path), ControlState::Normal);
        if (node.contains("titleColor"))
            b->setTitleColor(color(node, "titleColor", path), ControlState::Normal);
        if (node.contains("selectedTitleColor"))
            b->setTitleColor(color(node, "selectedTitleColor", path), ControlState::Selected);
        if (node.contains("font"))
            b->setTitleFont(font(node, path));
        if (node.contains("image"))
            b->setImage(image(node, "image", path), ControlState::Normal);
        if (node.contains("selectedImage"))
            b->setImage(image(node, "selectedImage", path), ControlState::Selected);
        if (node.contains("highlightedImage"))
            b->setImage(image(node, "highlightedImage", path), ControlState::Highlighted);
        if (node.contains("backgroundImage"))
            b->setBackgroundImage(image(node, "backgroundImage", path), ControlState::Normal);
        if (node.contains("action")) {
            const std::string name = text(node, "action", path);
            const auto it = actions_.find(name);
            if (it == actions_.end()) {
                throw LayoutError{path + ".action", "the screen has no action \"" + name + "\""};
            }
            b->addTarget(it->second);
        }
        view = b;
    } else if (cls == "TextField") {
        auto t = std::make_shared<TextField>();
        if (node.contains("placeholder"))
            t->setPlaceholder(text(node, "placeholder", path));
        if (node.contains("secure"))
            t->setSecureTextEntry(node.at("secure").get<bool>());
        if (node.contains("font"))
            t->setFont(font(node, path));
        if (node.contains("focusRingOutset"))
            t->setFocusRingOutset({node.at("focusRingOutset").at(0).get<double>(),
                                   node.at("focusRingOutset").at(1).get<double>()});
        view = t;
    } else if (cls == "ScrollView") {
        auto s = std::make_shared<ScrollView>();
        if (node.contains("paging"))
            s->setPagingEnabled(node.at("paging").get<bool>());
        if (node.contains("contentSize")) {
            const Rect r = rect(Json::array({0, 0, node["contentSize"][0], node["contentSize"][1]}),
                                path + ".contentSize");
            s->setContentSize(r.size);
        }
        view = s;
    } else if (cls == "TableView") {
        auto t = std::make_shared<TableView>();
        if (node.contains("rowHeight"))
            t->setRowHeight(node.at("rowHeight").get<double>());
        view = t;
    } else if (cls == "Switch") {
        // Its screen adds the action by outlet: a switch is no button.
        view = std::make_shared<Switch>();
    } else if (cls == "ActivityIndicatorView") {
        view = std::make_shared<ActivityIndicatorView>();
    } else if (const auto f = factories().find(cls); f != factories().end()) {
        view = f->second();
        // An application's image views take the image keys too.
        if (auto* i = dynamic_cast<ImageView*>(view.get())) {
            imageViewProperties(*i, node, path);
        }
    } else {
        throw LayoutError{path + ".class", "unknown class \"" + cls + "\""};
    }
    if (node.contains("frame"))
        view->setFrame(rect(node["frame"], path + ".frame"));
    if (node.contains("tag"))
        view->setTag(node.at("tag").get<int>());
    if (node.contains("alpha"))
        view->setAlpha(node.at("alpha").get<double>());
    if (node.contains("hidden"))
        view->setHidden(node.at("hidden").get<bool>());
    if (node.contains("clipsToBounds"))
        view->setClipsToBounds(node.at("clipsToBounds").get<bool>());
    if (node.contains("interaction"))
        view->setUserInteractionEnabled(node.at("interaction").get<bool>());
    if (node.contains("focusable"))
        view->setFocusable(node.at("focusable").get<bool>());
    if (node.contains("autoresizing")) {
        // The parts that follow the superview's size: "flexibleLeftMargin", "flexibleWidth",
        // "flexibleRightMargin", "flexibleTopMargin", "flexibleHeight", "flexibleBottomMargin".
        static const std::pair<const char*, unsigned> kParts[] = {
            {"flexibleLeftMargin", kFlexibleLeftMargin},
            {"flexibleWidth", kFlexibleWidth},
            {"flexibleRightMargin", kFlexibleRightMargin},
            {"flexibleTopMargin", kFlexibleTopMargin},
            {"flexibleHeight", kFlexibleHeight},
            {"flexibleBottomMargin", kFlexibleBottomMargin},
        };
        unsigned mask = kAutoresizeNone;
        for (const auto& part : node.at("autoresizing")) {
            const auto name = part.get<std::string>();
            bool known = false;
            for (const auto& [n, bit] : kParts) {
                if (name == n) {
                    mask |= bit;
                    known = true;
                }
            }
            if (!known) {
                throw LayoutError{path + ".autoresizing", "no such part \"" + name + "\""};
            }
        }
        view->setAutoresizingMask(mask);
    }
    if (node.contains("backgroundColor"))
        view->setBackgroundColor(color(node, "backgroundColor", path));
    if (node.contains("cornerRadius"))
        view->setCornerRadius(node.at("cornerRadius").get<double>());
    if (node.contains("borderWidth"))
        view->setBorder(node.at("borderWidth").get<double>(), node.contains("borderColor")
                                                                  ? color(node, "borderColor", path)
                                                                  : Color::black());
    if (node.contains("contentMode")) {
        const std::string m = text(node, "contentMode", path);
        static const std::map<std::string, ContentMode> kModes{
            {"scaleToFill", ContentMode::ScaleToFill},
            {"center", ContentMode::Center},
            {"top", ContentMode::Top},
            {"aspectFit", ContentMode::AspectFit},
            {"aspectFill", ContentMode::AspectFill}};
        const auto mode = kModes.find(m);
        if (mode == kModes.end()) {
            throw LayoutError{path + ".contentMode",
                              "expected scaleToFill, center, top, aspectFit or aspectFill"};
        }
        view->setContentMode(mode->second);
    }
    if (node.contains("name")) {
        const std::string name = text(node, "name", path);
        view->setName(name);
        outlets_[name] = view;
    }
    if (node.contains("children")) {
        const Json& children = node["children"];
        if (!children.is_array()) {
            throw LayoutError{path + ".children", "expected a list"};
        }
        for (std::size_t i = 0; i < children.size(); ++i) {
            view->addSubview(build(children[i], path + ".children[" + std::to_string(i) + "]"));
        }
    }
    return view;
}

} // namespace

void LayoutLoader::registerClass(const std::string& name, Factory factory) {
    std::lock_guard lock(folderMutex());
    factories()[name] = std::move(factory);
}

void LayoutLoader::setLayoutFolder(std::filesystem::path f) {
    std::lock_guard lock(folderMutex());
    folder() = std::move(f);
}

std::filesystem::path LayoutLoader::layoutFolder() {
    std::lock_guard lock(folderMutex());
    return folder();
}

std::optional<Color> LayoutLoader::parseColor(const std::string& t) {
    if ((t.size() != 7 && t.size() != 9) || t[0] != '#') {
        return std::nullopt;
    }
    unsigned value = 0;
    std::istringstream in(t.substr(1));
    if (!(in >> std::hex >> value) || !in.eof()) {
        return std::nullopt;
    }
    if (t.size() == 7) {
        return Color::rgb((value >> 16) & 255, (value >> 8) & 255, value & 255);
    }
    return Color::rgb((value >> 24) & 255, (value >> 16) & 255, (value >> 8) & 255,
                      (value & 255) / 255.0f);
}

std::shared_ptr<View> LayoutLoader::fromJson(const std::string& textJson, const std::string& source,
                                             Outlets& outlets, const Actions& actions,
                                             std::string& error) {
    Json doc;
    try {
        doc = Json::parse(textJson);
    } catch (const Json::parse_error& e) {
        error = "layout " + source + ": not JSON: " + e.what();
        return nullptr;
    }
    try {
        Builder builder(outlets, actions);
        return builder.build(doc, "$");
    } catch (const LayoutError& e) {
        error = "layout " + source + ": " + e.path + ": " + e.what;
    } catch (const Json::exception& e) {
        error = "layout " + source + ": " + e.what();
    }
    return nullptr;
}

std::shared_ptr<View> LayoutLoader::load(const std::string& name, Outlets& outlets,
                                         const Actions& actions, std::string& error) {
    const auto file = layoutFolder() / (name + ".json");
    std::ifstream in(file);
    if (!in) {
        error = "layout " + file.string() + ": cannot be read";
        return nullptr;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return fromJson(buffer.str(), file.string(), outlets, actions, error);
}

} // namespace vestrino::ui
