#pragma once

#include <functional>
#include <memory>

namespace vestrino::ui {

// What the desktop asks of the applications' colours.
enum class ColorScheme { NoPreference, Dark, Light };

// The desktop's settings as the application follows them, for as long as the object lives:
// the colour scheme first, then each change. The reader itself (the settings portal over
// D-Bus) is a module of its own (see PluginModule).
class DesktopSettings {
public:
    // Told of the scheme, on a thread of the reader's: once when it is first read, then at every
    // change. Never told when there is no bus or no portal.
    using Changed = std::function<void(ColorScheme)>;
    virtual ~DesktopSettings() = default;

    // What the module hands out: reads the scheme (telling `changed` before it returns, when
    // there is one), then listens for changes; nothing when there is no bus to read it on.
    using Start = std::unique_ptr<DesktopSettings> (*)(Changed changed);
    // The module's file name and the C name of its entry, which returns its Start.
    static constexpr const char* kModuleFile = "vestrino-portal.so";
    static constexpr const char* kEntry = "vestrino_desktop_settings";
};

} // namespace vestrino::ui
