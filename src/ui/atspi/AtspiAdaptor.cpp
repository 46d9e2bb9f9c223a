#include "ui/atspi/AtspiAdaptor.h"

#include "ui/Window.h"
#include "ui/atspi/AtspiAction.h"
#include "ui/atspi/AtspiInterfaces.h"
#include "ui/atspi/AtspiText.h"

#include "core/BuildVersion.h"

#include <algorithm>

namespace vestrino::ui::atspi {

namespace {

// AT-SPI's numbers for the roles we use (AtspiRole) and the states (AtspiStateType).
constexpr std::uint32_t kRoleApplication = 75;
enum State : std::uint32_t {
    kActive = 1,
    kChecked = 4,
    kEditable = 7,
    kEnabled = 8,
    kFocusable = 11,
    kFocused = 12,
    kModal = 16,
    kPressed = 20,
    kSelectable = 22,
    kSelected = 23,
    kSensitive = 24,
    kShowing = 25,
    kSingleLine = 26,
    kVisible = 30,
    kCheckable = 41,
};
constexpr std::uint32_t kRelationLabelledBy = 2;

} // namespace

const GDBusInterfaceVTable AtspiAdaptor::kVTable = {
    &AtspiAdaptor::methodCall, &AtspiAdaptor::getProperty, &AtspiAdaptor::setProperty, {}};
const GDBusSubtreeVTable AtspiAdaptor::kSubtreeVTable = {
    &AtspiAdaptor::enumerate, &AtspiAdaptor::introspect, &AtspiAdaptor::dispatch, {}};

AtspiAdaptor::AtspiAdaptor(GDBusConnection* bus, AccessibleObjects& objects, std::string appName,
                           std::function<Placement()> placement)
    : bus_(bus), objects_(objects), appName_(std::move(appName)),
      component_(objects, std::move(placement)) {}

AtspiAdaptor::~AtspiAdaptor() {
    if (cacheRegistration_) {
        g_dbus_connection_unregister_object(bus_, cacheRegistration_);
    }
    if (registration_) {
        g_dbus_connection_unregister_subtree(bus_, registration_);
    }
}

void AtspiAdaptor::cacheCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                             const gchar* method, GVariant*, GDBusMethodInvocation* invocation,
                             gpointer) {
    // Clients ask each object what they need when they need it: nothing is cached ahead.
    if (std::string_view(method) == "GetItems") {
        g_dbus_method_invocation_return_value(
            invocation, g_variant_new("(@a((so)(so)(so)iiassusau))",
                                      g_variant_new_array(G_VARIANT_TYPE("((so)(so)(so)iiassusau)"),
                                                          nullptr, 0)));
        return;
    }
    g_dbus_method_invocation_return_dbus_error(invocation,
                                               "org.freedesktop.DBus.Error.UnknownMethod", method);
}

bool AtspiAdaptor::start(std::string& error) {
    GError* e = nullptr;
    // Every object lives under one path; the tree changes with the screens, so nodes are
    // found when called rather than registered one by one.
    registration_ = g_dbus_connection_register_subtree(
        bus_, "/org/a11y/atspi/accessible", &kSubtreeVTable,
        G_DBUS_SUBTREE_FLAGS_DISPATCH_TO_UNENUMERATED_NODES, this, nullptr, &e);
    if (registration_) {
        static const GDBusInterfaceVTable cache = {&AtspiAdaptor::cacheCall, nullptr, nullptr, {}};
        cacheRegistration_ = g_dbus_connection_register_object(bus_, "/org/a11y/atspi/cache",
                                                               interfaceInfo(interface::kCache),
                                                               &cache, this, nullptr, &e);
    }
    if (!registration_ || !cacheRegistration_) {
        error = std::string("cannot serve the accessible objects: ") +
                (e ? e->message : "no reason given");
        g_clear_error(&e);
        return false;
    }
    return true;
}

void AtspiAdaptor::setDesktop(std::string busName, std::string path) {
    desktopName_ = std::move(busName);
    desktopPath_ = std::move(path);
}

GVariant* AtspiAdaptor::reference(View* view) {
    const char* unique = g_dbus_connection_get_unique_name(bus_);
    const std::string path =
        view ? objects_.pathOf(*view) : std::string(AccessibleObjects::kRootPath);
    return g_variant_new("(so)", unique ? unique : "", path.c_str());
}

void AtspiAdaptor::emit(View* source, const char* eventInterface, const char* member,
                        const char* detail, int detail1, int detail2, GVariant* anyData) {
    const std::string path =
        source ? objects_.pathOf(*source) : std::string(AccessibleObjects::kRootPath);
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_dbus_connection_emit_signal(bus_, nullptr, path.c_str(), eventInterface, member,
                                  g_variant_new("(siiva{sv})", detail, detail1, detail2,
                                                anyData ? anyData : g_variant_new_int32(0),
                                                &properties),
                                  nullptr);
}

std::uint32_t AtspiAdaptor::roleNumber(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::None:
        return 39; // panel
    case AccessibleRole::Frame:
        return 23;
    case AccessibleRole::PushButton:
        return 43;
    case AccessibleRole::ToggleButton:
    case AccessibleRole::Switch: // the bus's role set has no switch: a toggle button
        return 62;
    case AccessibleRole::Entry:
        return 79;
    case AccessibleRole::PasswordText:
        return 40;
    case AccessibleRole::Label:
        return 29;
    case AccessibleRole::Image:
        return 27;
    case AccessibleRole::List:
        return 31;
    case AccessibleRole::ListItem:
        return 32;
    case AccessibleRole::ScrollPane:
        return 49;
    case AccessibleRole::PageTabList:
        return 38;
    case AccessibleRole::PageTab:
        return 37;
    case AccessibleRole::Dialog:
        return 16;
    case AccessibleRole::Alert:
        return 2;
    case AccessibleRole::ToolBar:
        return 63;
    }
    return 39;
}

const char* AtspiAdaptor::roleName(AccessibleRole role) {
    if (role == AccessibleRole::Switch) {
        return "toggle button";
    }
    if (role == AccessibleRole::None) {
        return "panel";
    }
    return accessibleRoleName(role).data();
}

std::array<std::uint32_t, 2> AtspiAdaptor::stateBits(const View& view) {
    std::array<std::uint32_t, 2> bits{};
    const auto set = [&](std::uint32_t state) { bits[state / 32] |= 1u << (state % 32); };
    const AccessibleStates s = view.accessibleStates();
    const AccessibleRole role = view.accessibleRole();
    if (s.enabled) {
        set(kEnabled);
        set(kSensitive);
    }
    if (s.focusable) {
        set(kFocusable);
    }
    if (s.focused) {
        set(kFocused);
    }
    if (s.visible) {
        set(kVisible);
    }
    if (s.showing) {
        set(kShowing);
    }
    if (s.checkable) {
        set(kCheckable);
    }
    if (s.checked) {
        set(kChecked);
        if (role == AccessibleRole::ToggleButton) {
            set(kPressed);
        }
    }
    if (role == AccessibleRole::PageTab || role == AccessibleRole::ListItem) {
        set(kSelectable);
    }
    if (s.selected) {
        set(kSelected);
    }
    if (s.editable) {
        set(kEditable);
    }
    if (role == AccessibleRole::Entry || role == AccessibleRole::PasswordText) {
        set(kSingleLine);
    }
    if (s.modal) {
        set(kModal);
    }
    if (role == AccessibleRole::Frame) {
        set(kActive);
    }
    return bits;
}

std::vector<const char*> AtspiAdaptor::interfacesOf(const View& view) {
    std::vector<const char*> names = {interface::kAccessible, interface::kComponent};
    if (!view.accessibleActions().empty()) {
        names.push_back(interface::kAction);
    }
    if (view.accessibleText()) {
        names.push_back(interface::kText);
        const AccessibleRole role = view.accessibleRole();
        if ((role == AccessibleRole::Entry || role == AccessibleRole::PasswordText) &&
            view.accessibleStates().editable) {
            names.push_back(interface::kEditableText);
        }
    }
    return names;
}

std::vector<const char*> AtspiAdaptor::interfacesOf(const AccessibleObjects::Target& target) const {
    if (target.root) {
        return {interface::kAccessible, interface::kApplication};
    }
    return target.view ? interfacesOf(*target.view) : std::vector<const char*>{};
}

// ---- GDBus's callbacks ----

gchar** AtspiAdaptor::enumerate(GDBusConnection*, const gchar*, const gchar*, gpointer) {
    // Nodes are not listed (there are as many as views); calls reach them all the same.
    return g_new0(gchar*, 1);
}

GDBusInterfaceInfo** AtspiAdaptor::introspect(GDBusConnection*, const gchar*, const gchar*,
                                              const gchar* node, gpointer self) {
    auto& adaptor = *static_cast<AtspiAdaptor*>(self);
    if (!node) {
        return g_new0(GDBusInterfaceInfo*, 1);
    }
    const auto target = adaptor.objects_.find(std::string("/org/a11y/atspi/accessible/") + node);
    if (!target) {
        return nullptr;
    }
    const auto names = adaptor.interfacesOf(target);
    auto** infos = g_new0(GDBusInterfaceInfo*, names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        infos[i] = g_dbus_interface_info_ref(interfaceInfo(names[i]));
    }
    return infos;
}

const GDBusInterfaceVTable* AtspiAdaptor::dispatch(GDBusConnection*, const gchar*, const gchar*,
                                                   const gchar* interfaceName, const gchar* node,
                                                   gpointer* outUserData, gpointer self) {
    auto& adaptor = *static_cast<AtspiAdaptor*>(self);
    if (!node) {
        return nullptr;
    }
    const auto target = adaptor.objects_.find(std::string("/org/a11y/atspi/accessible/") + node);
    const auto names = adaptor.interfacesOf(target);
    if (std::none_of(names.begin(), names.end(),
                     [&](const char* n) { return std::string_view(n) == interfaceName; })) {
        return nullptr;
    }
    *outUserData = self;
    return &kVTable;
}

void AtspiAdaptor::methodCall(GDBusConnection*, const gchar*, const gchar* path,
                              const gchar* interfaceName, const gchar* method, GVariant* parameters,
                              GDBusMethodInvocation* invocation, gpointer self) {
    auto& adaptor = *static_cast<AtspiAdaptor*>(self);
    const auto target = adaptor.objects_.find(path);
    if (!target) {
        g_dbus_method_invocation_return_dbus_error(invocation,
                                                   "org.freedesktop.DBus.Error.UnknownObject",
                                                   (std::string("no object at ") + path).c_str());
        return;
    }
    if (GVariant* reply = adaptor.call(target, interfaceName, method, parameters)) {
        g_dbus_method_invocation_return_value(invocation, reply);
    } else {
        g_dbus_method_invocation_return_dbus_error(
            invocation, "org.freedesktop.DBus.Error.InvalidArgs",
            (std::string(interfaceName) + "." + method + " cannot be done on " + path).c_str());
    }
}

GVariant* AtspiAdaptor::getProperty(GDBusConnection*, const gchar*, const gchar* path,
                                    const gchar* interfaceName, const gchar* property,
                                    GError** error, gpointer self) {
    auto& adaptor = *static_cast<AtspiAdaptor*>(self);
    const auto target = adaptor.objects_.find(path);
    GVariant* value = target ? adaptor.property(target, interfaceName, property) : nullptr;
    if (!value) {
        g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "no property %s.%s at %s",
                    interfaceName, property, path);
    }
    return value;
}

gboolean AtspiAdaptor::setProperty(GDBusConnection*, const gchar*, const gchar*,
                                   const gchar* interfaceName, const gchar* property,
                                   GVariant* value, GError** error, gpointer self) {
    auto& adaptor = *static_cast<AtspiAdaptor*>(self);
    // The registry numbers the applications it knows.
    if (std::string_view(interfaceName) == interface::kApplication &&
        std::string_view(property) == "Id") {
        adaptor.applicationId_ = g_variant_get_int32(value);
        return TRUE;
    }
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_PROPERTY_READ_ONLY, "%s.%s cannot be set",
                interfaceName, property);
    return FALSE;
}

// ---- the interfaces ----

GVariant* AtspiAdaptor::call(const AccessibleObjects::Target& target,
                             std::string_view interfaceName, std::string_view method,
                             GVariant* parameters) {
    if (interfaceName == interface::kAccessible) {
        return accessibleCall(target, method, parameters);
    }
    if (interfaceName == interface::kApplication) {
        return applicationCall(method);
    }
    if (!target.view) {
        return nullptr;
    }
    View& view = *target.view;
    if (interfaceName == interface::kComponent) {
        return component_.call(view, method, parameters, [this](View* v) { return reference(v); });
    }
    if (interfaceName == interface::kAction) {
        return AtspiAction::call(view, method, parameters);
    }
    if (interfaceName == interface::kText) {
        return AtspiText::call(view, method, parameters, component_);
    }
    if (interfaceName == interface::kEditableText) {
        return AtspiText::editCall(view, method, parameters, objects_.window().clipboard().get());
    }
    return nullptr;
}

GVariant* AtspiAdaptor::parentReference(const AccessibleObjects::Target& target) {
    if (target.root) {
        return g_variant_new("(so)", desktopName_.c_str(), desktopPath_.c_str());
    }
    return reference(objects_.parent(*target.view));
}

GVariant* AtspiAdaptor::childReferences(const AccessibleObjects::Target& target) {
    GVariantBuilder children;
    g_variant_builder_init(&children, G_VARIANT_TYPE("a(so)"));
    if (target.root) {
        g_variant_builder_add_value(&children, reference(&objects_.window()));
    } else {
        for (View* child : objects_.children(*target.view)) {
            g_variant_builder_add_value(&children, reference(child));
        }
    }
    return g_variant_builder_end(&children);
}

GVariant* AtspiAdaptor::accessibleCall(const AccessibleObjects::Target& target,
                                       std::string_view method, GVariant* parameters) {
    View* view = target.view.get();
    if (method == "GetChildAtIndex") {
        gint32 index = 0;
        g_variant_get(parameters, "(i)", &index);
        std::vector<View*> children =
            target.root ? std::vector<View*>{&objects_.window()} : objects_.children(*view);
        if (index < 0 || static_cast<std::size_t>(index) >= children.size()) {
            return nullptr;
        }
        return g_variant_new("(@(so))", reference(children[static_cast<std::size_t>(index)]));
    }
    if (method == "GetChildren") {
        return g_variant_new("(@a(so))", childReferences(target));
    }
    if (method == "GetIndexInParent") {
        return g_variant_new("(i)", target.root ? -1 : objects_.indexInParent(*view));
    }
    if (method == "GetRelationSet") {
        GVariantBuilder relations;
        g_variant_builder_init(&relations, G_VARIANT_TYPE("a(ua(so))"));
        if (view) {
            if (const View* caption = view->accessibleLabelledBy()) {
                GVariantBuilder targets;
                g_variant_builder_init(&targets, G_VARIANT_TYPE("a(so)"));
                g_variant_builder_add_value(&targets, reference(const_cast<View*>(caption)));
                g_variant_builder_add(&relations, "(ua(so))", kRelationLabelledBy, &targets);
            }
        }
        return g_variant_new("(@a(ua(so)))", g_variant_builder_end(&relations));
    }
    if (method == "GetRole") {
        return g_variant_new("(u)",
                             target.root ? kRoleApplication : roleNumber(view->accessibleRole()));
    }
    if (method == "GetRoleName" || method == "GetLocalizedRoleName") {
        return g_variant_new("(s)", target.root ? "application" : roleName(view->accessibleRole()));
    }
    if (method == "GetState") {
        const auto bits = target.root ? std::array<std::uint32_t, 2>{} : stateBits(*view);
        GVariantBuilder states;
        g_variant_builder_init(&states, G_VARIANT_TYPE("au"));
        g_variant_builder_add(&states, "u", bits[0]);
        g_variant_builder_add(&states, "u", bits[1]);
        return g_variant_new("(au)", &states);
    }
    if (method == "GetAttributes") {
        GVariantBuilder attributes;
        g_variant_builder_init(&attributes, G_VARIANT_TYPE("a{ss}"));
        g_variant_builder_add(&attributes, "{ss}", "toolkit", appName_.c_str());
        return g_variant_new("(a{ss})", &attributes);
    }
    if (method == "GetApplication") {
        return g_variant_new("(@(so))", reference(nullptr));
    }
    if (method == "GetInterfaces") {
        GVariantBuilder names;
        g_variant_builder_init(&names, G_VARIANT_TYPE("as"));
        for (const char* name : interfacesOf(target)) {
            g_variant_builder_add(&names, "s", name);
        }
        return g_variant_new("(as)", &names);
    }
    return nullptr;
}

GVariant* AtspiAdaptor::applicationCall(std::string_view method) {
    if (method == "GetLocale") {
        return g_variant_new("(s)", "it_IT");
    }
    if (method == "RegisterEventListener" || method == "DeregisterEventListener") {
        return g_variant_new("()"); // every event is sent; there are few
    }
    if (method == "GetApplicationBusAddress") {
        return g_variant_new("(s)", ""); // no bus of its own: everything is on this one
    }
    return nullptr;
}

GVariant* AtspiAdaptor::property(const AccessibleObjects::Target& target,
                                 std::string_view interfaceName, std::string_view name) {
    View* view = target.view.get();
    if (interfaceName == interface::kAccessible) {
        if (name == "Name") {
            return g_variant_new_string(target.root ? appName_.c_str()
                                                    : view->accessibleName().c_str());
        }
        if (name == "Description") {
            return g_variant_new_string(target.root ? "" : view->accessibleDescription().c_str());
        }
        if (name == "Parent") {
            return parentReference(target);
        }
        if (name == "ChildCount") {
            return g_variant_new_int32(
                target.root ? 1 : static_cast<gint32>(objects_.children(*view).size()));
        }
        if (name == "Locale") {
            return g_variant_new_string("it_IT");
        }
        if (name == "AccessibleId") {
            return g_variant_new_string(target.root ? "" : view->name().c_str());
        }
        if (name == "HelpText") {
            return g_variant_new_string("");
        }
    }
    if (interfaceName == interface::kApplication) {
        if (name == "ToolkitName") {
            return g_variant_new_string(appName_.c_str());
        }
        if (name == "Version") {
            return g_variant_new_string(std::string(projectVersion()).c_str());
        }
        if (name == "AtspiVersion") {
            return g_variant_new_string("2.1");
        }
        if (name == "Id") {
            return g_variant_new_int32(applicationId_);
        }
    }
    if (!view) {
        return nullptr;
    }
    if (interfaceName == interface::kAction) {
        return AtspiAction::property(*view, name);
    }
    if (interfaceName == interface::kText) {
        return AtspiText::property(*view, name);
    }
    return nullptr;
}

} // namespace vestrino::ui::atspi
