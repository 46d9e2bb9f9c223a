#include "ui/atspi/AccessibleObjects.h"

#include "ui/Window.h"

#include <algorithm>
#include <charconv>

namespace vestrino::ui::atspi {

AccessibleObjects::AccessibleObjects(std::shared_ptr<Window> window) : window_(std::move(window)) {}

AccessibleObjects::Target AccessibleObjects::find(std::string_view path) {
    if (path == kRootPath) {
        return {.root = true, .view = nullptr};
    }
    if (!path.starts_with(kPathPrefix)) {
        return {};
    }
    const std::string_view digits = path.substr(kPathPrefix.size());
    std::uint64_t id = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return {};
    }
    const auto it = views_.find(id);
    if (it == views_.end()) {
        return {};
    }
    return {.root = false, .view = it->second.lock()};
}

std::string AccessibleObjects::pathOf(View& view) {
    auto it = ids_.find(&view);
    if (it != ids_.end() && it->second.view.expired()) {
        // Another view now lives where a gone one did: it gets a path of its own.
        views_.erase(it->second.id);
        ids_.erase(it);
        it = ids_.end();
    }
    if (it == ids_.end()) {
        const std::uint64_t id = nextId_++;
        std::weak_ptr<View> weak = view.weak_from_this();
        views_.emplace(id, weak);
        it = ids_.emplace(&view, Entry{id, std::move(weak)}).first;
    }
    return std::string(kPathPrefix) + std::to_string(it->second.id);
}

void AccessibleObjects::collectChildren(const View& view, std::vector<View*>& out) const {
    for (const auto& child : view.subviews()) {
        if (!shown(*child)) {
            continue;
        }
        if (child->accessibleRole() == AccessibleRole::None) {
            collectChildren(*child, out);
        } else {
            out.push_back(child.get());
        }
    }
}

std::vector<View*> AccessibleObjects::children(const View& view) const {
    std::vector<View*> out;
    collectChildren(view, out);
    return out;
}

View* AccessibleObjects::parent(const View& view) const {
    for (View* v = view.superview(); v; v = v->superview()) {
        if (v->accessibleRole() != AccessibleRole::None || !v->superview()) {
            return v;
        }
    }
    return nullptr;
}

int AccessibleObjects::indexInParent(const View& view) const {
    const View* above = parent(view);
    if (!above) {
        return &view == window_.get() ? 0 : -1;
    }
    const auto siblings = children(*above);
    const auto it = std::find(siblings.begin(), siblings.end(), &view);
    return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

bool AccessibleObjects::isSeen(const View& view) const {
    if (&view == window_.get()) {
        return true;
    }
    if (view.accessibleRole() == AccessibleRole::None) {
        return false;
    }
    const View* v = &view;
    for (; v->superview(); v = v->superview()) {
        if (!shown(*v)) {
            return false;
        }
    }
    return v == window_.get();
}

void AccessibleObjects::prune() {
    for (auto it = ids_.begin(); it != ids_.end();) {
        if (it->second.view.expired()) {
            views_.erase(it->second.id);
            it = ids_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace vestrino::ui::atspi
