#pragma once

#include "ui/AssistiveTechnology.h"
#include "ui/atspi/AccessibleObjects.h"
#include "ui/atspi/AtspiComponent.h"

#include <gio/gio.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vestrino::ui::atspi {

// Serves the views to assistive technology over the accessibility bus, as AT-SPI 2 objects:
// the application's root (Accessible, Application) and under it every view seen (Accessible,
// Component; Action where the view has actions, Text where it holds text, EditableText for
// fields; the last four answered by AtspiComponent, AtspiAction and AtspiText). Calls arrive
// on the thread and context that were current at start() and run there: the main thread,
// between frames. What a call does to a view it does as a person would (an action is a press
// or a toggle, new text goes through the field's checks like typing). A secure field tells its
// length (a dot a character), never its text.
class AtspiAdaptor {
public:
    using Placement = ScreenPlacement;

    AtspiAdaptor(GDBusConnection* bus, AccessibleObjects& objects, std::string appName,
                 std::function<Placement()> placement);
    ~AtspiAdaptor();
    AtspiAdaptor(const AtspiAdaptor&) = delete;
    AtspiAdaptor& operator=(const AtspiAdaptor&) = delete;

    // Puts the objects on the bus; false (and why) when the bus refuses.
    bool start(std::string& error);
    // The desktop the registry embedded the application in: the root's parent.
    void setDesktop(std::string busName, std::string path);

    // A reference to a view's object (the root's for null), as the bus passes one: (so).
    GVariant* reference(View* view);
    // Sends an event of the AT-SPI event interfaces from a view's object (the root's for null).
    void emit(View* source, const char* eventInterface, const char* member, const char* detail,
              int detail1, int detail2, GVariant* anyData);

    // The AT-SPI role and its name for a view's role, and the state set as the bus sends it.
    static std::uint32_t roleNumber(AccessibleRole role);
    static const char* roleName(AccessibleRole role);
    static std::array<std::uint32_t, 2> stateBits(const View& view);
    // The interfaces a view's object serves.
    static std::vector<const char*> interfacesOf(const View& view);

private:
    static const GDBusInterfaceVTable kVTable;
    static const GDBusSubtreeVTable kSubtreeVTable;

    static void cacheCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                          const gchar* method, GVariant*, GDBusMethodInvocation* invocation,
                          gpointer);
    static gchar** enumerate(GDBusConnection*, const gchar*, const gchar*, gpointer);
    static GDBusInterfaceInfo** introspect(GDBusConnection*, const gchar*, const gchar*,
                                           const gchar* node, gpointer self);
    static const GDBusInterfaceVTable* dispatch(GDBusConnection*, const gchar*, const gchar*,
                                                const gchar* interfaceName, const gchar* node,
                                                gpointer* outUserData, gpointer self);
    static void methodCall(GDBusConnection*, const gchar*, const gchar* path,
                           const gchar* interfaceName, const gchar* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer self);
    static GVariant* getProperty(GDBusConnection*, const gchar*, const gchar* path,
                                 const gchar* interfaceName, const gchar* property, GError** error,
                                 gpointer self);
    static gboolean setProperty(GDBusConnection*, const gchar*, const gchar* path,
                                const gchar* interfaceName, const gchar* property, GVariant* value,
                                GError** error, gpointer self);

    std::vector<const char*> interfacesOf(const AccessibleObjects::Target& target) const;
    GVariant* call(const AccessibleObjects::Target& target, std::string_view interfaceName,
                   std::string_view method, GVariant* parameters);
    GVariant* accessibleCall(const AccessibleObjects::Target& target, std::string_view method,
                             GVariant* parameters);
    GVariant* applicationCall(std::string_view method);
    GVariant* property(const AccessibleObjects::Target& target, std::string_view interfaceName,
                       std::string_view name);

    GVariant* parentReference(const AccessibleObjects::Target& target);
    GVariant* childReferences(const AccessibleObjects::Target& target);

    GDBusConnection* bus_;
    AccessibleObjects& objects_;
    std::string appName_;
    AtspiComponent component_;
    std::string desktopName_;
    std::string desktopPath_ = "/org/a11y/atspi/null";
    int applicationId_ = 0;
    guint registration_ = 0;
    guint cacheRegistration_ = 0;
};

} // namespace vestrino::ui::atspi
