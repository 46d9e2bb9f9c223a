#pragma once

#include "ui/Button.h"
#include "ui/View.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

// Builds a screen's views from its layout resource, resources/layouts/<Name>.json: a tree of
// {"class", "name", "frame": [x, y, w, h], properties…, "children": [...]}. Each view is made
// by its class's factory and reads its own properties (View::applyLayout); views with a name
// are handed back as outlets; a button's "action" is bound by name. A wrong layout gives
// nothing and an error that names the file and the key.
class LayoutLoader {
public:
    using Outlets = std::map<std::string, std::shared_ptr<View>>;
    using Actions = std::map<std::string, Button::Action>;

    static void setLayoutFolder(std::filesystem::path folder);
    static std::filesystem::path layoutFolder();

    static std::shared_ptr<View> load(const std::string& name, Outlets& outlets,
                                      const Actions& actions, std::string& error);
    // The same from JSON text (`source` names it in errors).
    static std::shared_ptr<View> fromJson(const std::string& text, const std::string& source,
                                          Outlets& outlets, const Actions& actions,
                                          std::string& error);
    static std::optional<Color> parseColor(const std::string& text);

    // A layout's variant: {"variants": {"<variant>": {"<outlet>": {properties…}, …}}} beside the
    // tree. Each outlet named reads the properties given (as from the tree: a frame, hidden, a
    // content size…) and keeps the rest. False, with the reason, for a variant or an outlet the
    // layout does not have, or a wrong property.
    static bool applyVariant(const std::string& name, const std::string& variant,
                             const Outlets& outlets, std::string& error);

    // A view class for layouts, made by the factory (the view layer's own are known already;
    // an application adds its own, "UIBannerView").
    using Factory = std::function<std::shared_ptr<View>()>;
    static void registerClass(const std::string& name, Factory factory);
};

} // namespace vestrino::ui
