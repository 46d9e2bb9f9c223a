#pragma once

#include "ui/Appearance.h"
#include "ui/DesktopSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The look a person chose: the desktop's ("Sistema"), or always light or dark. Written as
// "system", "light", "dark" in the preferences and on the command line (--theme).
enum class AppearanceChoice { System, Light, Dark };

inline constexpr AppearanceChoice kAppearanceChoices[] = {
    AppearanceChoice::System, AppearanceChoice::Light, AppearanceChoice::Dark};

std::optional<AppearanceChoice> appearanceChoiceNamed(std::string_view name);
std::string_view appearanceChoiceName(AppearanceChoice choice);
// What the information screen calls it: "Sistema", "Chiaro", "Scuro" (in the language in force).
std::string appearanceChoiceTitle(AppearanceChoice choice);
// The look painted for the choice while the desktop asks for `desktop`: the desktop's dark
// scheme is dark, its light one or none light.
ui::Appearance appearanceFor(AppearanceChoice choice, ui::ColorScheme desktop);

} // namespace vestrino
