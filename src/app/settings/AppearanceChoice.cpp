#include "app/settings/AppearanceChoice.h"

#include "core/Translation.h"

namespace vestrino {

std::optional<AppearanceChoice> appearanceChoiceNamed(std::string_view name) {
    for (const AppearanceChoice c : kAppearanceChoices) {
        if (appearanceChoiceName(c) == name) {
            return c;
        }
    }
    return std::nullopt;
}

std::string_view appearanceChoiceName(AppearanceChoice choice) {
    switch (choice) {
    case AppearanceChoice::Light:
        return "light";
    case AppearanceChoice::Dark:
        return "dark";
    case AppearanceChoice::System:
        break;
    }
    return "system";
}

std::string appearanceChoiceTitle(AppearanceChoice choice) {
    switch (choice) {
    case AppearanceChoice::Light:
        return tr("Chiaro");
    case AppearanceChoice::Dark:
        return tr("Scuro");
    case AppearanceChoice::System:
        break;
    }
    return tr("Sistema");
}

ui::Appearance appearanceFor(AppearanceChoice choice, ui::ColorScheme desktop) {
    switch (choice) {
    case AppearanceChoice::Light:
        return ui::Appearance::Light;
    case AppearanceChoice::Dark:
        return ui::Appearance::Dark;
    case AppearanceChoice::System:
        break;
    }
    return desktop == ui::ColorScheme::Dark ? ui::Appearance::Dark : ui::Appearance::Light;
}

} // namespace vestrino
