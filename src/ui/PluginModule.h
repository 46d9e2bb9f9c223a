#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vestrino::ui {

// The application's optional parts that use GLib (assistive technology, the desktop's
// settings) are modules of their own, opened at run time only where the desktop may have a
// session bus, so that a start without one loads none of GLib's libraries. A module is looked
// for beside the program (a build folder) and in `<prefix>/lib/vestrino/` (installed); once
// opened it stays for the program's life (GLib's libraries cannot be unloaded).
class PluginModule {
public:
    // Whether the environment has a bus a module could talk on (a session bus the program did
    // not mark "disabled:" at its start, or an accessibility bus).
    static bool busMayExist();
    // Where the module file is for a program at `executable`, if it is there.
    static std::optional<std::filesystem::path> path(const std::filesystem::path& executable,
                                                     const std::string& file);
    // Opens the module beside the running program and finds its entry (a C name); nothing when
    // the module is not there, and nothing with `why` said when it will not load.
    static void* entry(const std::string& file, const char* entryName, std::string& why);
};

} // namespace vestrino::ui
