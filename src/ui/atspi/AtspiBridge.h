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
// on the main thread's run loop: the bus's calls are taken between frames, a few times in a
// tenth of a second.
class AtspiBridge : public AssistiveTechnology {
public:
    static constexpr Duration kPumpInterval = std::chrono::milliseconds(30);

    // Starts when the desktop has an accessibility bus with accessibility switched on (or the
    // bus's address is given by AT_SPI_BUS_ADDRESS); nothing, and not a word, otherwise. A bus
    // that is there but refuses is reported once on the log.
    static std::unique_ptr<AssistiveTechnology> start(std::shared_ptr<Window> window,
                                                      std::string appName,
                                                      std::function<ScreenPlacement()> placement);
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
                std::function<ScreenPlacement()> placement);

private:
    bool connect(const std::string& address, std::string& error);
    static void embedded(GObject* source, GAsyncResult* result, gpointer self);
    // Runs the bus's calls that have arrived, then sends what changed.
    void pump();

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
};

} // namespace vestrino::ui::atspi
