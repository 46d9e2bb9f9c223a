#pragma once

#include "ui/Button.h"

namespace vestrino {

// The application's buttons drawn from code: every button on a screen is a pill with round
// ends, in any width. An action of its own is a filled pill with a white title; an option (a
// filter, a radius, a secondary action) is an outlined pill with an accent title that fills
// while pressed or chosen. Buttons whose pictures carry their own title keep them.
class ButtonStyle {
public:
    static void makePrimary(ui::Button& button);
    static void makeOption(ui::Button& button);
};

} // namespace vestrino
