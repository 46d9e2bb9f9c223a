#include "ui/DesktopSettingsWatcher.h"

#include "core/BackgroundTask.h"
#include "core/Log.h"
#include "ui/PluginModule.h"

namespace vestrino::ui {

DesktopSettingsWatcher::DesktopSettingsWatcher(DesktopSettings::Changed changed)
    : state_(std::make_shared<State>()) {
    state_->changed = std::move(changed);
    if (!PluginModule::busMayExist()) {
        return;
    }
    BackgroundTask::detach([state = state_] {
        std::string why;
        using Entry = DesktopSettings::Start (*)();
        const auto entry = reinterpret_cast<Entry>(
            PluginModule::entry(DesktopSettings::kModuleFile, DesktopSettings::kEntry, why));
        if (!entry) {
            if (!why.empty()) {
                Log::write("desktop settings: " + why);
            }
            return;
        }
        // The reader calls back on its threads; the call goes no further once the watcher is
        // gone.
        auto reader = entry()([state](ColorScheme scheme) {
            std::lock_guard lock(state->mutex);
            if (!state->stopped) {
                state->changed(scheme);
            }
        });
        std::unique_lock lock(state->mutex);
        if (state->stopped) {
            lock.unlock();
            reader.reset(); // the watcher went while the first answer was read
            return;
        }
        state->reader = std::move(reader);
    });
}

DesktopSettingsWatcher::~DesktopSettingsWatcher() {
    std::unique_ptr<DesktopSettings> reader;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopped = true;
        reader = std::move(state_->reader);
    }
    // Its thread is joined outside the lock: a call of `changed` waiting for it sees `stopped`.
    reader.reset();
}

} // namespace vestrino::ui
