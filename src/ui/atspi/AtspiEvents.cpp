#include "ui/atspi/AtspiEvents.h"

#include "ui/Window.h"

#include "core/Utf8.h"

#include <algorithm>

namespace vestrino::ui::atspi {

namespace {

constexpr const char* kObjectEvent = "org.a11y.atspi.Event.Object";
constexpr const char* kFocusEvent = "org.a11y.atspi.Event.Focus";

// The states whose changes are told, with the names the events carry.
struct Watched {
    std::uint32_t state;
    const char* name;
};
constexpr Watched kWatched[] = {
    {4, "checked"}, {23, "selected"}, {8, "enabled"}, {24, "sensitive"}};

bool has(const std::array<std::uint32_t, 2>& bits, std::uint32_t state) {
    return (bits[state / 32] >> (state % 32)) & 1u;
}

} // namespace

AtspiEvents::AtspiEvents(AtspiAdaptor& adaptor, AccessibleObjects& objects)
    : adaptor_(adaptor), objects_(objects) {}

void AtspiEvents::update() {
    Window& window = objects_.window();
    View* focus = window.firstResponder();
    if (focus != focus_.lock().get()) {
        focusChanged(focus);
    }
    View* modal = window.modalView();
    if (modal != modal_.lock().get()) {
        modal_ = modal ? modal->weak_from_this() : std::weak_ptr<View>();
        if (modal && !first_ && objects_.isSeen(*modal)) {
            // An alert or a dialog has come up: it is read out when it shows.
            adaptor_.emit(modal, kObjectEvent, "StateChanged", "showing", 1, 0, nullptr);
        }
    }
    treeChanged();
    first_ = false;
}

void AtspiEvents::textChanged(View& field, const std::string& was, const std::string& now) {
    // Typing, pasting, a deletion: what went and what came after the part that stayed.
    const std::size_t oldCount = codePointCount(was);
    const std::size_t newCount = codePointCount(now);
    std::size_t same = 0;
    while (same < oldCount && same < newCount &&
           firstCodePoints(was, same + 1) == firstCodePoints(now, same + 1)) {
        ++same;
    }
    if (same < oldCount) {
        const std::string gone = was.substr(byteOffsetOfCodePoint(was, same));
        adaptor_.emit(&field, kObjectEvent, "TextChanged", "delete", static_cast<int>(same),
                      static_cast<int>(oldCount - same), g_variant_new_string(gone.c_str()));
    }
    if (same < newCount) {
        const std::string added = now.substr(byteOffsetOfCodePoint(now, same));
        adaptor_.emit(&field, kObjectEvent, "TextChanged", "insert", static_cast<int>(same),
                      static_cast<int>(newCount - same), g_variant_new_string(added.c_str()));
    }
}

void AtspiEvents::focusChanged(View* now) {
    if (auto before = focus_.lock(); before && !first_) {
        adaptor_.emit(before.get(), kObjectEvent, "StateChanged", "focused", 0, 0, nullptr);
    }
    focus_ = now ? now->weak_from_this() : std::weak_ptr<View>();
    if (now && !first_ && objects_.isSeen(*now)) {
        adaptor_.emit(now, kObjectEvent, "StateChanged", "focused", 1, 0, nullptr);
        adaptor_.emit(now, kFocusEvent, "Focus", "", 0, 0, nullptr);
    }
}

void AtspiEvents::treeChanged() {
    std::map<const View*, Seen> now;
    std::vector<View*> pending = {&objects_.window()};
    while (!pending.empty()) {
        View* v = pending.back();
        pending.pop_back();
        const AccessibleRole role = v->accessibleRole();
        const bool field = role == AccessibleRole::Entry || role == AccessibleRole::PasswordText;
        Seen s{v->weak_from_this(), AtspiAdaptor::stateBits(*v), v->accessibleName(),
               objects_.children(*v),
               field ? v->accessibleText().value_or(std::string()) : std::string()};
        const auto it = seen_.find(v);
        if (!first_ && it != seen_.end() && !it->second.view.expired()) {
            const Seen& was = it->second;
            for (const auto& w : kWatched) {
                if (has(s.bits, w.state) != has(was.bits, w.state)) {
                    adaptor_.emit(v, kObjectEvent, "StateChanged", w.name,
                                  has(s.bits, w.state) ? 1 : 0, 0, nullptr);
                }
            }
            if (s.text != was.text) {
                textChanged(*v, was.text, s.text);
            }
            if (s.name != was.name) {
                adaptor_.emit(v, kObjectEvent, "PropertyChange", "accessible-name", 0, 0,
                              g_variant_new_string(s.name.c_str()));
            }
            // Another screen, an alert, rows: the children gone, then those come.
            for (View* gone : was.children) {
                if (std::find(s.children.begin(), s.children.end(), gone) == s.children.end() &&
                    seen_.contains(gone) && !seen_.at(gone).view.expired()) {
                    adaptor_.emit(v, kObjectEvent, "ChildrenChanged", "remove", -1, 0,
                                  adaptor_.reference(gone));
                }
            }
            for (std::size_t i = 0; i < s.children.size(); ++i) {
                if (std::find(was.children.begin(), was.children.end(), s.children[i]) ==
                    was.children.end()) {
                    adaptor_.emit(v, kObjectEvent, "ChildrenChanged", "add", static_cast<int>(i), 0,
                                  adaptor_.reference(s.children[i]));
                }
            }
        }
        pending.insert(pending.end(), s.children.begin(), s.children.end());
        now.emplace(v, std::move(s));
    }
    seen_ = std::move(now);
}

} // namespace vestrino::ui::atspi
