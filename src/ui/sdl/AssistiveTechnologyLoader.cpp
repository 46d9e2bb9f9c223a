#include "ui/sdl/AssistiveTechnologyLoader.h"

#include "core/Log.h"
#include "ui/PluginModule.h"

namespace vestrino::ui {

bool AssistiveTechnologyLoader::busMayExist() {
    return PluginModule::busMayExist();
}

std::optional<std::filesystem::path>
AssistiveTechnologyLoader::modulePath(const std::filesystem::path& executable) {
    return PluginModule::path(executable, AssistiveTechnology::kModuleFile);
}

std::unique_ptr<AssistiveTechnology>
AssistiveTechnologyLoader::start(std::shared_ptr<Window> window, std::string appName,
                                 std::function<ScreenPlacement()> placement,
                                 std::function<void()> wake) {
    if (!busMayExist()) {
        return nullptr;
    }
    std::string why;
    using Entry = AssistiveTechnology::Start (*)();
    const auto entry = reinterpret_cast<Entry>(
        PluginModule::entry(AssistiveTechnology::kModuleFile, AssistiveTechnology::kEntry, why));
    if (!entry) {
        if (!why.empty()) {
            Log::write("accessibility: " + why);
        }
        return nullptr;
    }
    return entry()(std::move(window), std::move(appName), std::move(placement), std::move(wake));
}

} // namespace vestrino::ui
