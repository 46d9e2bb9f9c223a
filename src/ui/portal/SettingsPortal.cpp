#include "ui/portal/SettingsPortal.h"

#include "core/Log.h"

#include <string>

namespace vestrino::ui::portal {

std::unique_ptr<DesktopSettings> SettingsPortal::start(Changed changed) {
    GError* raw = nullptr;
    // Not g_bus_get_sync: the shared connection would outlive the reader and, with no address
    // in the environment, GLib could start a bus for us.
    const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address || !*address) {
        return nullptr;
    }
    atspi::GObjectPtr<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &raw));
    atspi::GErrorPtr error(raw);
    if (!bus) {
        return nullptr; // no bus there: the light look, and nothing to say
    }
    g_dbus_connection_set_exit_on_close(bus.get(), FALSE);
    return std::make_unique<SettingsPortal>(std::move(bus), std::move(changed));
}

ColorScheme SettingsPortal::schemeOf(GVariant* value) {
    atspi::GVariantPtr held(value ? g_variant_ref(value) : nullptr);
    // Read's answer is a variant in a variant; a careless portal might wrap it once more.
    for (int depth = 0;
         held && g_variant_is_of_type(held.get(), G_VARIANT_TYPE_VARIANT) && depth < 4; ++depth) {
        held.reset(g_variant_get_variant(held.get()));
    }
    if (!held || !g_variant_is_of_type(held.get(), G_VARIANT_TYPE_UINT32)) {
        return ColorScheme::NoPreference;
    }
    switch (g_variant_get_uint32(held.get())) {
    case 1:
        return ColorScheme::Dark;
    case 2:
        return ColorScheme::Light;
    default:
        return ColorScheme::NoPreference;
    }
}

SettingsPortal::SettingsPortal(atspi::GObjectPtr<GDBusConnection> bus, Changed changed)
    : bus_(std::move(bus)), changed_(std::move(changed)), context_(g_main_context_new()) {
    {
        // Changes are heard from before the first read, so that none between them is missed;
        // they are handled on the listening thread's context.
        atspi::ThreadDefaultContext own(context_.get());
        subscription_ = g_dbus_connection_signal_subscribe(
            bus_.get(), kService, kInterface, "SettingChanged", kPath, kNamespace,
            G_DBUS_SIGNAL_FLAGS_NONE, &SettingsPortal::onSettingChanged, this, nullptr);
    }
    if (const auto scheme = read()) {
        changed_(*scheme);
    }
    thread_ = std::thread([this] { listen(); });
}

SettingsPortal::~SettingsPortal() {
    stop_ = true;
    g_main_context_wakeup(context_.get());
    if (thread_.joinable()) {
        thread_.join();
    }
    g_dbus_connection_signal_unsubscribe(bus_.get(), subscription_);
    // The unsubscription's clean-up runs on the context it was made on.
    while (g_main_context_iteration(context_.get(), FALSE)) {
    }
    g_dbus_connection_close_sync(bus_.get(), nullptr, nullptr);
}

std::optional<ColorScheme> SettingsPortal::read() {
    for (const char* method : {"ReadOne", "Read"}) {
        GError* raw = nullptr;
        atspi::GVariantPtr reply(g_dbus_connection_call_sync(
            bus_.get(), kService, kPath, kInterface, method,
            g_variant_new("(ss)", kNamespace, kKey), G_VARIANT_TYPE("(v)"),
            // A desktop starts its portal when first asked: the read may start it.
            G_DBUS_CALL_FLAGS_NONE, kReadTimeoutMs, nullptr, &raw));
        atspi::GErrorPtr error(raw);
        if (reply) {
            atspi::GVariantPtr value(g_variant_get_child_value(reply.get(), 0));
            return schemeOf(value.get());
        }
        // A portal of version 1 has no ReadOne: ask it with Read. Anything else (no portal, no
        // such setting, no answer in time) is no preference, said to developers only.
        if (!g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD)) {
            if (!g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) &&
                !g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER)) {
                Log::debug(std::string("desktop settings: ") + method + " of " + kNamespace + " " +
                           kKey + " failed: " + (error ? error->message : "no reply"));
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void SettingsPortal::listen() {
    atspi::ThreadDefaultContext own(context_.get());
    while (!stop_) {
        g_main_context_iteration(context_.get(), TRUE);
    }
}

void SettingsPortal::onSettingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                      const gchar*, GVariant* parameters, gpointer self) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) {
        return;
    }
    const gchar* ns = nullptr;
    const gchar* key = nullptr;
    GVariant* raw = nullptr;
    g_variant_get(parameters, "(&s&sv)", &ns, &key, &raw);
    atspi::GVariantPtr value(raw);
    if (std::string_view(ns) == kNamespace && std::string_view(key) == kKey) {
        static_cast<SettingsPortal*>(self)->changed_(schemeOf(value.get()));
    }
}

} // namespace vestrino::ui::portal
