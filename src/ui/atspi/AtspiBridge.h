#pragma once

#include "ui/AssistiveTechnology.h"
#include "ui/atspi/AccessibleObjects.h"
#include "ui/atspi/AtspiAdaptor.h"
#include "ui/atspi/AtspiEvents.h"
#include "ui/atspi/GLibHandles.h"

#include "core/Timer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {
class Window;
}

namespace vestrino::ui::atspi {

// The application on the desktop's accessibility bus, for screen readers and other assistive
// technology: it finds the bus, serves the window's views there (AtspiAdaptor), registers the
// application with the desktop's registry and sends what changes (AtspiEvents). Everything runs
// on the main thread's run loop. A call is answered as it comes: GDBus's own thread, which reads
// the bus, wakes the run loop for it (a screen reader asks many questions for each focus change,
// and drops announcements when its answers are slow); a timer a few times in a tenth of a
// second sends the changes and catches anything the wake-up missed.
class AtspiBridge : public AssistiveTechnology {
public:
    static constexpr Duration kPumpInterval = std::chrono::milliseconds(30);

    // Starts when the desktop has an accessibility bus with accessibility switched on (or the
    // bus's address is given by AT_SPI_BUS_ADDRESS); nothing, and not a word, otherwise. A bus
    // that is there but refuses is reported once on the log.
    static std::unique_ptr<AssistiveTechnology> start(std::shared_ptr<Window> window,
                                                      std::string appName,
                                                      std::function<ScreenPlacement()> placement,
                                                      std::function<void()> wake);
    ~AtspiBridge() override;
    AtspiBridge(const AtspiBridge&) = delete;
    AtspiBridge& operator=(const AtspiBridge&) = delete;

    // The address of the accessibility bus, when there is one that is switched on.
    static std::optional<std::string> busAddress();

    // Made by start() alone (the key is not to be had elsewhere).
    class Key {
        friend class AtspiBridge;
        Key() = default;
    };
    AtspiBridge(Key, std::shared_ptr<Window> window, std::string appName,
                std::function<ScreenPlacement()> placement, std::function<void()> wake);

private:
    bool connect(const std::string& address, std::string& error);
    static void embedded(GObject* source, GAsyncResult* result, gpointer self);
    // Runs the bus's calls that have arrived, then sends what changed; whether any had.
    bool pump();
    // What GDBus's thread reaches: the main thread's pump, posted while the bridge lives.
    struct Waker;
    static GDBusMessage* incoming(GDBusConnection*, GDBusMessage* message, gboolean incoming,
                                  gpointer waker);
    // Posted by a wake-up: pumps, and looks once more shortly when the call had not reached
    // the context yet (GDBus queues it there just after the filter has seen it).
    void pumpNow(int retries);

    GMainContextPtr context_;
    GObjectPtr<GDBusConnection> bus_;
    GObjectPtr<GCancellable> cancellable_;
    AccessibleObjects objects_;
    std::string appName_;
    std::function<ScreenPlacement()> placement_;
    std::unique_ptr<AtspiAdaptor> adaptor_;
    std::unique_ptr<AtspiEvents> events_;
    std::shared_ptr<Timer> pump_;
    unsigned pumps_ = 0;
    std::shared_ptr<Waker> waker_;
    guint filter_ = 0;
};

} // namespace vestrino::ui::atspi
