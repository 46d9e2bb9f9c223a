#pragma once

#include "ui/KeyCommand.h"

#include <string>

namespace vestrino::ui {

// Something that can take keys and typed text: a view or a screen. The window hands a key to
// the first responder; whatever a responder does not use goes on to its next responder (a view's
// screen when it is that screen's view, otherwise its superview; a screen's view's superview),
// up to the window, whose own commands come last. Nobody along the way is asked for its type.
class Responder {
public:
    virtual ~Responder() = default;
    virtual Responder* nextResponder() const = 0;
    // A key press; true when it was used up here.
    virtual bool keyDown(KeyCommand) { return false; }
    // Text typed (a character, a paste, an input method's result); true when taken.
    virtual bool insertText(const std::string&) { return false; }
};

} // namespace vestrino::ui
