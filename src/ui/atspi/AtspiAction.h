#pragma once

#include "ui/View.h"

#include <gio/gio.h>

#include <string_view>

namespace vestrino::ui::atspi {

// The Action interface: what can be done to a view (press, toggle, activate, turn a page),
// named for the bus and in the application's language, and doing one as a touch would.
class AtspiAction {
public:
    static GVariant* call(View& view, std::string_view method, GVariant* parameters);
    static GVariant* property(const View& view, std::string_view name);
};

} // namespace vestrino::ui::atspi
