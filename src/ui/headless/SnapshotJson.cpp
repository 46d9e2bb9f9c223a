#include "ui/headless/SnapshotJson.h"

namespace vestrino::ui {

namespace {

nlohmann::ordered_json valueJson(const ViewDescription::Value& value) {
    return std::visit([](const auto& v) { return nlohmann::ordered_json(v); }, value);
}

} // namespace

nlohmann::ordered_json SnapshotJson::of(const ViewDescription& description) {
    nlohmann::ordered_json node = nlohmann::ordered_json::object();
    for (const auto& p : description.properties()) {
        if (p.list) {
            auto list = nlohmann::ordered_json::array();
            for (const auto& v : p.values) {
                list.push_back(valueJson(v));
            }
            node[p.key] = std::move(list);
        } else {
            node[p.key] = valueJson(p.values.front());
        }
    }
    return node;
}

nlohmann::ordered_json SnapshotJson::tree(const ViewDescription& root) {
    nlohmann::ordered_json node = of(root);
    auto children = nlohmann::ordered_json::array();
    for (const auto& child : root.children) {
        children.push_back(tree(child));
    }
    node["children"] = std::move(children);
    return node;
}

nlohmann::ordered_json SnapshotJson::tree(const View& root) {
    return tree(root.describeTree());
}

} // namespace vestrino::ui
