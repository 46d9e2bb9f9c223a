#pragma once

#include "ui/AssistiveTechnology.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

// Opens the assistive-technology module (AT-SPI over D-Bus, with GLib's libraries) only where
// someone may listen: when the environment names a session bus or an accessibility bus. Without
// either the program loads nothing of it and says nothing. The module is looked for beside the
// program (a build folder) and in `<prefix>/lib/vestrino/` (installed); once opened it stays
// for the program's life (GLib's libraries cannot be unloaded).
class AssistiveTechnologyLoader {
public:
    // Whether the environment has a bus assistive technology could be on (a session bus the
    // program did not mark "disabled:" at its start, or an accessibility bus).
    static bool busMayExist();
    // Where the module is for a program at `executable`, if it is there.
    static std::optional<std::filesystem::path> modulePath(const std::filesystem::path& executable);

    // Starts serving the window when the module is there and the desktop has an accessibility
    // bus switched on; nothing otherwise. A module that is there and will not load is
    // reported once on the log.
    static std::unique_ptr<AssistiveTechnology> start(std::shared_ptr<Window> window,
                                                      std::string appName,
                                                      std::function<ScreenPlacement()> placement,
                                                      std::function<void()> wake);
};

} // namespace vestrino::ui
