#include "ui/atspi/AtspiBridge.h"

#include "ui/Window.h"

#include "core/Log.h"
#include "core/RunLoop.h"

#include <atomic>
#include <cstdlib>

namespace vestrino::ui::atspi {

namespace {

constexpr int kCallTimeoutMs = 1000;

GObjectPtr<GDBusConnection> connectTo(const char* address, std::string& error) {
    GError* e = nullptr;
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &e);
    if (!bus) {
        error = e ? e->message : "no reason given";
        g_clear_error(&e);
    }
    return GObjectPtr<GDBusConnection>(bus);
}

// Closes a connection that is done with; its worker thread lets go of it then.
void closeBus(GDBusConnection* bus) {
    if (bus && !g_dbus_connection_is_closed(bus)) {
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
    }
}

// A call to the session bus's accessibility service; nothing when it is not running (it is
// not started for this: a desktop without it has no assistive technology listening).
GVariantPtr callA11yBus(GDBusConnection* session, const char* interfaceName, const char* method,
                        GVariant* parameters, const char* replyType) {
    GVariant* reply = g_dbus_connection_call_sync(
        session, "org.a11y.Bus", "/org/a11y/bus", interfaceName, method, parameters,
        G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr,
        nullptr);
    return GVariantPtr(reply);
}

bool switchedOn(GDBusConnection* session, const char* property) {
    const auto reply = callA11yBus(session, "org.freedesktop.DBus.Properties", "Get",
                                   g_variant_new("(ss)", "org.a11y.Status", property), "(v)");
    if (!reply) {
        return false;
    }
    GVariant* value = nullptr;
    g_variant_get(reply.get(), "(v)", &value);
    const GVariantPtr owned(value);
    return g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
}

} // namespace

std::optional<std::string> AtspiBridge::busAddress() {
    if (const char* given = std::getenv("AT_SPI_BUS_ADDRESS"); given && *given) {
        return std::string(given);
    }
    const char* sessionAddress = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!sessionAddress || !*sessionAddress || std::string_view(sessionAddress) == "disabled:") {
        return std::nullopt; // no session bus: no desktop services to talk to
    }
    std::string error;
    const auto session = connectTo(sessionAddress, error);
    if (!session) {
        return std::nullopt;
    }
    std::optional<std::string> address;
    // Switched on by the desktop's accessibility setting, or because a screen reader runs.
    if (switchedOn(session.get(), "IsEnabled") ||
        switchedOn(session.get(), "ScreenReaderEnabled")) {
        if (const auto reply =
                callA11yBus(session.get(), "org.a11y.Bus", "GetAddress", nullptr, "(s)")) {
            const gchar* text = nullptr;
            g_variant_get(reply.get(), "(&s)", &text);
            if (text && *text) {
                address = text;
            }
        }
    }
    closeBus(session.get());
    return address;
}

// Shared by the bridge (main thread) and GDBus's thread: the loop's wake-up, and the bridge
// while it lives. Tasks posted to the main queue check `bridge` there; the filter checks `open`.
struct AtspiBridge::Waker {
    std::function<void()> wake;
    AtspiBridge* bridge = nullptr; // main thread only
    std::atomic<bool> open{true};
    std::atomic<bool> posted{false}; // one pump on its way at a time
};

std::unique_ptr<AssistiveTechnology> AtspiBridge::start(std::shared_ptr<Window> window,
                                                        std::string appName,
                                                        std::function<ScreenPlacement()> placement,
                                                        std::function<void()> wake) {
    const auto address = busAddress();
    if (!address) {
        return nullptr;
    }
    auto bridge = std::make_unique<AtspiBridge>(Key(), std::move(window), std::move(appName),
                                                std::move(placement), std::move(wake));
    std::string error;
    if (!bridge->connect(*address, error)) {
        Log::write("accessibility: the accessibility bus at " + *address +
                   " cannot be used: " + error);
        return nullptr;
    }
    return bridge;
}

AtspiBridge::AtspiBridge(Key, std::shared_ptr<Window> window, std::string appName,
                         std::function<ScreenPlacement()> placement, std::function<void()> wake)
    : context_(g_main_context_new()), cancellable_(g_cancellable_new()),
      objects_(std::move(window)), appName_(std::move(appName)), placement_(std::move(placement)),
      waker_(std::make_shared<Waker>()) {
    waker_->wake = std::move(wake);
    waker_->bridge = this;
}

AtspiBridge::~AtspiBridge() {
    if (pump_) {
        pump_->invalidate();
    }
    // No wake-up after this (the filter may still run once on GDBus's thread; it finds `open`
    // false), and posted pumps find no bridge.
    waker_->open = false;
    waker_->bridge = nullptr;
    if (filter_ != 0 && bus_) {
        g_dbus_connection_remove_filter(bus_.get(), filter_);
    }
    g_cancellable_cancel(cancellable_.get());
    events_.reset();
    adaptor_.reset(); // off the bus before the views go
    closeBus(bus_.get());
}

bool AtspiBridge::connect(const std::string& address, std::string& error) {
    // GDBus hands calls and replies to the context that is the thread's default when they are
    // set up: ours, which only the main thread runs (pump).
    const ThreadDefaultContext ours(context_.get());
    bus_ = connectTo(address.c_str(), error);
    if (!bus_) {
        return false;
    }
    adaptor_ = std::make_unique<AtspiAdaptor>(bus_.get(), objects_, appName_, placement_);
    if (!adaptor_->start(error)) {
        return false;
    }
    events_ = std::make_unique<AtspiEvents>(*adaptor_, objects_);
    // The registry learns of the application and answers with the desktop it belongs to; the
    // answer comes back through the pump, so a slow registry never holds up a frame.
    const char* unique = g_dbus_connection_get_unique_name(bus_.get());
    g_dbus_connection_call(
        bus_.get(), "org.a11y.atspi.Registry", AccessibleObjects::kRootPath.data(),
        "org.a11y.atspi.Socket", "Embed",
        g_variant_new("((so))", unique ? unique : "", AccessibleObjects::kRootPath.data()),
        G_VARIANT_TYPE("((so))"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs * 5, cancellable_.get(),
        &AtspiBridge::embedded, this);
    pump_ = Timer::scheduledTimer(RunLoop::main(), kPumpInterval, true, [this](Timer&) { pump(); });
    // The filter holds its own share of the waker, let go by GDBus when it is done with it.
    filter_ = g_dbus_connection_add_filter(
        bus_.get(), &AtspiBridge::incoming, new std::shared_ptr<Waker>(waker_),
        [](gpointer data) { delete static_cast<std::shared_ptr<Waker>*>(data); });
    events_->update(); // what is there now is known; only changes are sent
    return true;
}

void AtspiBridge::embedded(GObject* source, GAsyncResult* result, gpointer self) {
    GError* e = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &e);
    if (!reply) {
        // Cancelled: the bridge has gone, `self` with it.
        if (!g_error_matches(e, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
            Log::write(std::string("accessibility: the registry did not take the application: ") +
                       (e ? e->message : "no reason given"));
        }
        g_clear_error(&e);
        return;
    }
    const GVariantPtr owned(reply);
    const gchar* name = nullptr;
    const gchar* path = nullptr;
    g_variant_get(reply, "((&s&o))", &name, &path);
    static_cast<AtspiBridge*>(self)->adaptor_->setDesktop(name, path);
}

GDBusMessage* AtspiBridge::incoming(GDBusConnection*, GDBusMessage* message, gboolean incoming,
                                    gpointer data) {
    const auto& waker = *static_cast<std::shared_ptr<Waker>*>(data);
    const auto type = g_dbus_message_get_message_type(message);
    // A call to answer, or the answer to one of ours: the main thread runs it now. Signals
    // (other applications' events) wait for the timer.
    if (incoming && waker->open &&
        (type == G_DBUS_MESSAGE_TYPE_METHOD_CALL || type == G_DBUS_MESSAGE_TYPE_METHOD_RETURN ||
         type == G_DBUS_MESSAGE_TYPE_ERROR) &&
        !waker->posted.exchange(true)) {
        std::weak_ptr<Waker> weak = waker;
        RunLoop::main().post([weak] {
            if (auto w = weak.lock()) {
                w->posted = false;
                if (w->bridge) {
                    w->bridge->pumpNow(3);
                }
            }
        });
        if (waker->wake) {
            waker->wake();
        }
    }
    return message;
}

void AtspiBridge::pumpNow(int retries) {
    if (pump() || retries <= 0) {
        return;
    }
    std::weak_ptr<Waker> weak = waker_;
    Timer::scheduledTimer(RunLoop::main(), std::chrono::milliseconds(1), false,
                          [weak, retries](Timer&) {
                              if (auto w = weak.lock(); w && w->bridge) {
                                  w->bridge->pumpNow(retries - 1);
                              }
                          });
}

bool AtspiBridge::pump() {
    bool any = false;
    while (g_main_context_iteration(context_.get(), FALSE)) {
        any = true;
    }
    events_->update();
    // Now and then, the paths of views that are gone are forgotten.
    if (++pumps_ % 100 == 0) {
        objects_.prune();
    }
    return any;
}

} // namespace vestrino::ui::atspi
