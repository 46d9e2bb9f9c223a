#include "ui/sdl/AssistiveTechnologyLoader.h"

#include "core/Log.h"
#include "core/ResourceLocator.h"

#include <cstdlib>
#include <dlfcn.h>
#include <string_view>

namespace vestrino::ui {

bool AssistiveTechnologyLoader::busMayExist() {
    for (const char* name : {"AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        const char* value = std::getenv(name);
        // "disabled:" is what the program sets when it started without a session bus.
        if (value && *value && std::string_view(value) != "disabled:") {
            return true;
        }
    }
    return false;
}

std::optional<std::filesystem::path>
AssistiveTechnologyLoader::modulePath(const std::filesystem::path& executable) {
    const auto folder = executable.parent_path();
    for (const auto& candidate :
         {folder / AssistiveTechnology::kModuleFile,
          folder.parent_path() / "lib" / "vestrino" / AssistiveTechnology::kModuleFile}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::unique_ptr<AssistiveTechnology>
AssistiveTechnologyLoader::start(std::shared_ptr<Window> window, std::string appName,
                                 std::function<ScreenPlacement()> placement,
                                 std::function<void()> wake) {
    if (!busMayExist()) {
        return nullptr;
    }
    const auto executable = ResourceLocator::executablePath();
    const auto path = executable ? modulePath(*executable) : std::nullopt;
    if (!path) {
        return nullptr; // built or packaged without it
    }
    // Kept open for the program's life: the handle is never closed.
    void* module = dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = AssistiveTechnology::Start (*)();
    const auto entry =
        module ? reinterpret_cast<Entry>(dlsym(module, AssistiveTechnology::kEntry)) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        Log::write("accessibility: the module " + path->string() +
                   " cannot be loaded: " + (why ? why : "no entry"));
        return nullptr;
    }
    return entry()(std::move(window), std::move(appName), std::move(placement), std::move(wake));
}

} // namespace vestrino::ui
