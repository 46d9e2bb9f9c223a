#include "ui/portal/SettingsPortal.h"

// The module's entry: the application's watcher (DesktopSettingsWatcher) finds it by this C
// name once it has opened the module.
extern "C" __attribute__((visibility("default"))) vestrino::ui::DesktopSettings::Start
vestrino_desktop_settings() {
    return &vestrino::ui::portal::SettingsPortal::start;
}
