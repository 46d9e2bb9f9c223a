#pragma once

#include "ui/DesktopSettings.h"

#include <memory>
#include <mutex>

namespace vestrino::ui {

// Follows the desktop's colour scheme without holding up the start: the module is opened and
// the first answer read on a background task (which a headless script's "idle" waits for),
// and the reader listens on a thread of its own after that. `changed` is called on those
// threads. Without a bus, a module or a portal it is never called and nothing is printed.
class DesktopSettingsWatcher {
public:
    explicit DesktopSettingsWatcher(DesktopSettings::Changed changed);
    // Stops listening: no call of `changed` begins after it returns.
    ~DesktopSettingsWatcher();
    DesktopSettingsWatcher(const DesktopSettingsWatcher&) = delete;
    DesktopSettingsWatcher& operator=(const DesktopSettingsWatcher&) = delete;

private:
    // Shared with the starting task, which may end after the watcher is gone.
    struct State {
        std::mutex mutex;
        bool stopped = false;
        DesktopSettings::Changed changed;
        std::unique_ptr<DesktopSettings> reader;
    };
    std::shared_ptr<State> state_;
};

} // namespace vestrino::ui
