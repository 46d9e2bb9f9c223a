#include "ui/sdl/SdlEventRouter.h"

#include <SDL2/SDL.h>

namespace vestrino::ui {

SdlEventRouter::SdlEventRouter(std::shared_ptr<Window> window, double scale)
    : window_(std::move(window)), scale_(scale) {}

std::optional<KeyCommand> SdlEventRouter::keyCommandFor(const SDL_Keysym& key) {
    const bool ctrl = key.mod & KMOD_CTRL;
    const bool shift = key.mod & KMOD_SHIFT;
    auto with = [shift](KeyCommand plain, KeyCommand extended) { return shift ? extended : plain; };
    auto ctrlKey = [ctrl](KeyCommand command) {
        return ctrl ? std::optional(command) : std::nullopt;
    };
    switch (key.sym) {
    case SDLK_BACKSPACE:
        return KeyCommand::Backspace;
    case SDLK_DELETE:
        return KeyCommand::DeleteForward;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return KeyCommand::Return;
    case SDLK_SPACE:
        return ctrl ? std::nullopt : std::optional(KeyCommand::Space);
    case SDLK_TAB:
        return with(KeyCommand::Tab, KeyCommand::BackTab);
    case SDLK_ESCAPE:
        return KeyCommand::Escape;
    case SDLK_LEFT:
        return with(KeyCommand::Left, KeyCommand::SelectLeft);
    case SDLK_RIGHT:
        return with(KeyCommand::Right, KeyCommand::SelectRight);
    case SDLK_UP:
        return KeyCommand::Up;
    case SDLK_DOWN:
        return KeyCommand::Down;
    case SDLK_PAGEUP:
        return KeyCommand::PageUp;
    case SDLK_PAGEDOWN:
        return KeyCommand::PageDown;
    case SDLK_HOME:
        return with(KeyCommand::Home, KeyCommand::SelectHome);
    case SDLK_END:
        return with(KeyCommand::End, KeyCommand::SelectEnd);
    case SDLK_a:
        return ctrlKey(KeyCommand::SelectAll);
    case SDLK_c:
        return ctrlKey(KeyCommand::Copy);
    case SDLK_x:
        return ctrlKey(KeyCommand::Cut);
    case SDLK_v:
        return ctrlKey(KeyCommand::Paste);
    case SDLK_z:
        return ctrlKey(shift ? KeyCommand::Redo : KeyCommand::Undo);
    case SDLK_y:
        return ctrlKey(KeyCommand::Redo);
    default:
        return std::nullopt;
    }
}

Point SdlEventRouter::fingerPoint(float x, float y) const {
    const Size size = window_->frame().size;
    return {x * size.width, y * size.height};
}

SdlEventRouter::Outcome SdlEventRouter::handle(const SDL_Event& e, TimePoint now) {
    Window& window = *window_;
    switch (e.type) {
    case SDL_QUIT:
        return Outcome::Quit;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.which != SDL_TOUCH_MOUSEID && e.button.button == SDL_BUTTON_LEFT && !finger_) {
            window.touchDown(toPoint(e.button.x, e.button.y), now);
        }
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which == SDL_TOUCH_MOUSEID) {
            break;
        }
        pointer_ = toPoint(e.motion.x, e.motion.y);
        if ((e.motion.state & SDL_BUTTON_LMASK) && !finger_) {
            window.touchMove(pointer_, now);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.which != SDL_TOUCH_MOUSEID && e.button.button == SDL_BUTTON_LEFT && !finger_) {
            window.touchUp(toPoint(e.button.x, e.button.y), now);
        }
        break;
    case SDL_MOUSEWHEEL: {
        if (e.wheel.which == SDL_TOUCH_MOUSEID) {
            break;
        }
        const double flip = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        // Wheel up shows what is above: the content's offset goes down.
        window.scrollWheel(pointer_, {flip * e.wheel.preciseX * kWheelNotch,
                                      -flip * e.wheel.preciseY * kWheelNotch});
        break;
    }
    case SDL_FINGERDOWN:
        if (!finger_) {
            finger_ = e.tfinger.fingerId;
            window.touchDown(fingerPoint(e.tfinger.x, e.tfinger.y), now);
        }
        break;
    case SDL_FINGERMOTION:
        if (finger_ == e.tfinger.fingerId) {
            window.touchMove(fingerPoint(e.tfinger.x, e.tfinger.y), now);
        }
        break;
    case SDL_FINGERUP:
        if (finger_ == e.tfinger.fingerId) {
            finger_.reset();
            window.touchUp(fingerPoint(e.tfinger.x, e.tfinger.y), now);
        }
        break;
    case SDL_TEXTINPUT:
        // Characters come from here, editing keys from key presses; with Ctrl held (a shortcut)
        // no text is typed.
        if (!(SDL_GetModState() & KMOD_CTRL)) {
            window.insertText(e.text.text);
        }
        break;
    case SDL_KEYDOWN:
        if (const auto key = keyCommandFor(e.key.keysym)) {
            window.keyCommand(*key);
        } else if (e.key.keysym.sym == SDLK_q && (e.key.keysym.mod & KMOD_CTRL)) {
            return Outcome::Quit; // Ctrl+Q: as the window's close button
        }
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            return Outcome::Repaint;
        }
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            return Outcome::Quit; // the window manager's close, whether or not a quit follows
        }
        break;
    default:
        break;
    }
    return Outcome::None;
}

} // namespace vestrino::ui
