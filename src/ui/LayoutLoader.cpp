#include "ui/LayoutLoader.h"

#include "ui/Palette.h"

#include "ui/ActivityIndicatorView.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/LayoutNode.h"
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

// The view layer's own classes, known to every layout; an application adds its own
// (registerClass).
void registerViewClasses(std::map<std::string, LayoutLoader::Factory>& f) {
    f.emplace("View", [] { return std::make_shared<View>(); });
    f.emplace("Label", [] { return std::make_shared<Label>(); });
    f.emplace("ImageView", [] { return std::make_shared<ImageView>(); });
    f.emplace("Button", [] { return std::make_shared<Button>(); });
    f.emplace("TextField", [] { return std::make_shared<TextField>(); });
    f.emplace("ScrollView", [] { return std::make_shared<ScrollView>(); });
    f.emplace("TableView", [] { return std::make_shared<TableView>(); });
    f.emplace("Switch", [] { return std::make_shared<Switch>(); }); // its action by outlet
    f.emplace("ActivityIndicatorView", [] { return std::make_shared<ActivityIndicatorView>(); });
}

LayoutLoader::Factory factoryFor(const std::string& cls) {
    std::lock_guard lock(folderMutex());
    if (factories().empty()) {
        registerViewClasses(factories());
    }
    const auto it = factories().find(cls);
    return it == factories().end() ? LayoutLoader::Factory() : it->second;
}

// Makes each view by its class and lets it read its own keys; the loader itself knows only
// "class", "name" and "children".
class Builder {
public:
    Builder(LayoutLoader::Outlets& outlets, const LayoutLoader::Actions& actions)
        : outlets_(outlets), actions_(actions) {}

    std::shared_ptr<View> build(const Json& json, const std::string& path) {
        if (!json.is_object()) {
            throw LayoutError{path, "expected an object"};
        }
        const LayoutNode node(json, path, actions_);
        const std::string cls = node.text("class");
        const auto make = factoryFor(cls);
        if (!make) {
            node.fail("class", "unknown class \"" + cls + "\"");
        }
        std::shared_ptr<View> view = make();
        view->applyLayout(node);
        if (node.has("name")) {
            const std::string name = node.text("name");
            view->setName(name);
            outlets_[name] = view;
        }
        if (node.has("children")) {
            const Json& children = json["children"];
            if (!children.is_array()) {
                node.fail("children", "expected a list");
            }
            for (std::size_t i = 0; i < children.size(); ++i) {
                view->addSubview(build(children[i], path + ".children[" + std::to_string(i) + "]"));
            }
        }
        return view;
    }

private:
    LayoutLoader::Outlets& outlets_;
    const LayoutLoader::Actions& actions_;
};

} // namespace

void LayoutLoader::registerClass(const std::string& name, Factory factory) {
    std::lock_guard lock(folderMutex());
    if (factories().empty()) {
        registerViewClasses(factories());
    }
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
    // "@accent": a role, painted in the palette in use.
    if (!t.empty() && t[0] == '@') {
        const auto role = Palette::roleNamed(std::string_view(t).substr(1));
        return role ? std::optional<Color>(palette::role(*role)) : std::nullopt;
    }
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

namespace {

// The text of a layout resource, or nothing (the reason in `error`).
std::optional<std::string> readLayout(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "layout " + file.string() + ": cannot be read";
        return std::nullopt;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

} // namespace

std::shared_ptr<View> LayoutLoader::load(const std::string& name, Outlets& outlets,
                                         const Actions& actions, std::string& error) {
    const auto file = layoutFolder() / (name + ".json");
    const auto text = readLayout(file, error);
    return text ? fromJson(*text, file.string(), outlets, actions, error) : nullptr;
}

bool LayoutLoader::applyVariant(const std::string& name, const std::string& variant,
                                const Outlets& outlets, std::string& error) {
    const auto file = layoutFolder() / (name + ".json");
    const auto text = readLayout(file, error);
    if (!text) {
        return false;
    }
    const std::string source = "layout " + file.string() + ": ";
    try {
        const Json doc = Json::parse(*text);
        const std::string path = "$.variants." + variant;
        if (!doc.contains("variants") || !doc["variants"].contains(variant) ||
            !doc["variants"][variant].is_object()) {
            error = source + path + ": no such variant";
            return false;
        }
        static const Actions kNoActions;
        for (const auto& [outletName, properties] : doc["variants"][variant].items()) {
            const auto outlet = outlets.find(outletName);
            if (outlet == outlets.end() || !outlet->second || !properties.is_object()) {
                error = source + path + "." + outletName + ": no such outlet";
                return false;
            }
            outlet->second->applyLayout(
                LayoutNode(properties, path + "." + outletName, kNoActions));
        }
        return true;
    } catch (const LayoutError& e) {
        error = source + e.path + ": " + e.what;
    } catch (const Json::exception& e) {
        error = source + e.what();
    }
    return false;
}

} // namespace vestrino::ui
