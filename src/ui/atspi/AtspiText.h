#pragma once

#include "ui/View.h"

#include <gio/gio.h>

#include <string_view>

namespace vestrino::ui {
class Clipboard;
}

namespace vestrino::ui::atspi {

class AtspiComponent;

// The Text and EditableText interfaces of a view that holds text (a label, a field), in code
// points: reading it whole or in pieces, the caret and the selection, and editing it as typing
// would (the field's own checks decide). A secure field's text is one "•" a character, and
// nothing of it reaches the clipboard. Each call returns its reply, or null for a call that
// cannot be done.
class AtspiText {
public:
    static GVariant* call(View& view, std::string_view method, GVariant* parameters,
                          const AtspiComponent& component);
    static GVariant* editCall(View& view, std::string_view method, GVariant* parameters,
                              Clipboard* clipboard);
    static GVariant* property(const View& view, std::string_view name);
};

} // namespace vestrino::ui::atspi
