#pragma once

#include "ui/DesktopSettings.h"
#include "ui/atspi/GLibHandles.h"

#include <atomic>
#include <optional>
#include <thread>

namespace vestrino::ui::portal {

// The desktop's colour scheme from the settings portal on the session bus
// (org.freedesktop.portal.Settings, namespace org.freedesktop.appearance, key color-scheme:
// 1 dark, 2 light, anything else no preference). Portals of version 2 answer ReadOne with the
// value in a variant; version 1 (Debian 12's) has only Read, whose variant holds another
// variant: both are asked and unwrapped. Changes come as SettingChanged, heard on a thread of
// the reader's own until it is destroyed.
class SettingsPortal : public DesktopSettings {
public:
    static constexpr const char* kService = "org.freedesktop.portal.Desktop";
    static constexpr const char* kPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* kInterface = "org.freedesktop.portal.Settings";
    static constexpr const char* kNamespace = "org.freedesktop.appearance";
    static constexpr const char* kKey = "color-scheme";
    // How long a read may take before the portal counts as absent (it runs on a background
    // task: the screens do not wait for it).
    static constexpr int kReadTimeoutMs = 3000;

    // The module's Start: connects to the session bus and reads the scheme (telling `changed`
    // when the portal answered), then listens; nothing when there is no session bus.
    static std::unique_ptr<DesktopSettings> start(Changed changed);

    // The scheme a setting's value says, inside as many variants as it is wrapped in.
    static ColorScheme schemeOf(GVariant* value);

    SettingsPortal(atspi::GObjectPtr<GDBusConnection> bus, Changed changed);
    ~SettingsPortal() override;

private:
    // The value of the setting, by ReadOne and failing that by Read; nothing when the portal
    // is not there or does not know the setting.
    std::optional<ColorScheme> read();
    void listen();
    static void onSettingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                 const gchar*, GVariant* parameters, gpointer self);

    atspi::GObjectPtr<GDBusConnection> bus_;
    Changed changed_;
    atspi::GMainContextPtr context_;
    guint subscription_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vestrino::ui::portal
