#include "ui/PluginModule.h"

#include "core/ResourceLocator.h"

#include <cstdlib>
#include <dlfcn.h>
#include <string_view>

namespace vestrino::ui {

bool PluginModule::busMayExist() {
    for (const char* name : {"AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        const char* value = std::getenv(name);
        // "disabled:" is what the program sets when it started without a session bus.
        if (value && *value && std::string_view(value) != "disabled:") {
            return true;
        }
    }
    return false;
}

std::optional<std::filesystem::path> PluginModule::path(const std::filesystem::path& executable,
                                                        const std::string& file) {
    const auto folder = executable.parent_path();
    for (const auto& candidate :
         {folder / file, folder.parent_path() / "lib" / "vestrino" / file}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            return candidate;
        }
    }
    return std::nullopt;
}

void* PluginModule::entry(const std::string& file, const char* entryName, std::string& why) {
    const auto executable = ResourceLocator::executablePath();
    const auto found = executable ? path(*executable, file) : std::nullopt;
    if (!found) {
        return nullptr; // built or packaged without it
    }
    // Kept open for the program's life: the handle is never closed.
    void* module = dlopen(found->c_str(), RTLD_NOW | RTLD_LOCAL);
    void* symbol = module ? dlsym(module, entryName) : nullptr;
    if (!symbol) {
        const char* error = dlerror();
        why =
            "the module " + found->string() + " cannot be loaded: " + (error ? error : "no entry");
    }
    return symbol;
}

} // namespace vestrino::ui
