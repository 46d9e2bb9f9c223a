#include "ui/sdl/SdlClipboard.h"

#include <SDL2/SDL.h>
#include <memory>

namespace vestrino::ui {

std::optional<std::string> SdlClipboard::text() {
    if (!SDL_HasClipboardText()) {
        return std::nullopt;
    }
    // SDL hands out a copy of its own that we free.
    std::unique_ptr<char, decltype(&SDL_free)> text(SDL_GetClipboardText(), &SDL_free);
    if (!text) {
        return std::nullopt;
    }
    return std::string(text.get());
}

void SdlClipboard::setText(const std::string& text) {
    SDL_SetClipboardText(text.c_str());
}

} // namespace vestrino::ui
