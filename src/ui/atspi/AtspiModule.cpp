#include "ui/atspi/AtspiBridge.h"

// The module's entry: the application's loader (AssistiveTechnologyLoader) finds it by this C
// name once it has opened the module.
extern "C" __attribute__((visibility("default"))) vestrino::ui::AssistiveTechnology::Start
vestrino_assistive_technology() {
    return &vestrino::ui::atspi::AtspiBridge::start;
}
