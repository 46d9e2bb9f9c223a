#pragma once

#include "ui/View.h"
#include "ui/ViewDescription.h"

#include <nlohmann/json.hpp>

namespace vestrino::ui {

// The view tree as the snapshot's JSON: each view's properties in its own order, then its
// children ("children", also when there are none).
class SnapshotJson {
public:
    // One view's properties alone.
    static nlohmann::ordered_json of(const ViewDescription& description);
    static nlohmann::ordered_json tree(const ViewDescription& root);
    static nlohmann::ordered_json tree(const View& root);
};

} // namespace vestrino::ui
