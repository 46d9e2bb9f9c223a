#include "ui/atspi/AtspiAction.h"
#include "core/Translation.h"

namespace vestrino::ui::atspi {

namespace {

// The names a person hears for the actions, in the application's language.
const char* localizedAction(std::string_view action) {
    if (action == "press") {
        return tr("premi");
    }
    if (action == "toggle") {
        return tr("cambia");
    }
    if (action == "activate") {
        return tr("attiva");
    }
    if (action == "next page") {
        return tr("pagina successiva");
    }
    if (action == "previous page") {
        return tr("pagina precedente");
    }
    return nullptr;
}

} // namespace

GVariant* AtspiAction::call(View& view, std::string_view method, GVariant* parameters) {
    const auto actions = view.accessibleActions();
    if (method == "GetActions") {
        GVariantBuilder list;
        g_variant_builder_init(&list, G_VARIANT_TYPE("a(sss)"));
        for (const auto& a : actions) {
            const char* heard = localizedAction(a);
            g_variant_builder_add(&list, "(sss)", heard ? heard : a.c_str(), "", "");
        }
        return g_variant_new("(a(sss))", &list);
    }
    gint32 index = -1;
    g_variant_get(parameters, "(i)", &index);
    if (index < 0 || static_cast<std::size_t>(index) >= actions.size()) {
        return nullptr;
    }
    const std::string& action = actions[static_cast<std::size_t>(index)];
    if (method == "GetName") {
        return g_variant_new("(s)", action.c_str());
    }
    if (method == "GetLocalizedName") {
        const char* heard = localizedAction(action);
        return g_variant_new("(s)", heard ? heard : action.c_str());
    }
    if (method == "GetDescription" || method == "GetKeyBinding") {
        return g_variant_new("(s)", "");
    }
    if (method == "DoAction") {
        return g_variant_new("(b)", view.doAccessibleAction(action));
    }
    return nullptr;
}

GVariant* AtspiAction::property(const View& view, std::string_view name) {
    if (name == "NActions") {
        return g_variant_new_int32(static_cast<gint32>(view.accessibleActions().size()));
    }
    return nullptr;
}

} // namespace vestrino::ui::atspi
